#include "platform/base/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/base/File.h"

namespace wb {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    try {
        File f(path, File::Mode::Read);
        std::string out;
        char buf[65536];
        for (;;) {
            size_t n = f.Read(buf, sizeof buf);
            out.append(buf, n);
            if (n < sizeof buf) break;
        }
        return out;
    } catch (const IoError&) {
        return std::nullopt;
    }
}

void WriteFileReplacing(const std::string& path, const std::string& content, unsigned mode) {
    std::string tmpl = path + ".tmp-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) throw IoError(path, "Cannot write", errno);
    ::close(fd);
    std::string tmp = name.data();
    try {
        File f(tmp, File::Mode::Create);
        f.Write(content.data(), content.size());
        f.Sync();
        f.Close();
        if (::chmod(tmp.c_str(), mode) != 0) throw IoError(tmp, "Cannot set the mode of", errno);
        if (::rename(tmp.c_str(), path.c_str()) != 0) throw IoError(path, "Cannot replace", errno);
    } catch (...) {
        ::unlink(tmp.c_str());
        throw;
    }
}

} // namespace wb
