#include "platform/base/TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "platform/base/IoError.h"

namespace wb {

std::string SystemTempFolder() {
    const char* t = std::getenv("TMPDIR");
    return (t && *t) ? std::string(t) : std::string("/tmp");
}

TempDir::TempDir(const std::string& prefix) {
    std::string tmpl = SystemTempFolder() + "/" + prefix + "-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data())) throw IoError(tmpl, "Cannot create the folder", errno);
    path_ = buf.data();
}

void TempDir::RemoveOnTermination() {
    if (!cleanup_.Registered()) cleanup_ = wb::RemoveOnTermination(path_, wb::RemoveOnTermination::Kind::Folder);
}

// The folder stays registered while it goes, so a signal in between still takes it.
TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

} // namespace wb
