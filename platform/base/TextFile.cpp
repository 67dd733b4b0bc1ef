#include "platform/base/TextFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/File.h"
#include "platform/base/PendingFile.h"

namespace wb {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    try {
        File f(path, File::Mode::ReadDocument);
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
    PendingFile out(path);
    out.Stream().Write(content.data(), content.size());
    out.Stream().Sync();
    if (::chmod(out.TempPath().c_str(), mode) != 0) throw IoError(path, "Cannot set the mode of", errno);
    out.Commit();
}

} // namespace wb
