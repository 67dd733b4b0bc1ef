#include "platform/base/Spawn.h"

#include <fcntl.h>
#include <spawn.h>

extern char** environ;

namespace wb {

pid_t SpawnQuietly(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    for (int fd : {1, 2}) posix_spawn_file_actions_addopen(&quiet, fd, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const bool started = posix_spawnp(&pid, args[0], &quiet, nullptr, args.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&quiet);
    return started ? pid : -1;
}

} // namespace wb
