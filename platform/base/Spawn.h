#pragma once
// Starting helper programs without a shell.
#include <string>
#include <sys/types.h>
#include <vector>

namespace wb {

// Starts argv[0], looked up in PATH, with its output and errors dropped.
// Returns its process id, or -1 when it could not be started.
pid_t SpawnQuietly(const std::vector<std::string>& argv);

} // namespace wb
