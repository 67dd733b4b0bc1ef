#pragma once
#include <cstddef>
#include <string>

#include "platform/base/File.h"

namespace wb {

// Writes a file's new content into a temporary file beside it and renames it
// over the old one only when Commit() succeeds, so a failed write never leaves
// a truncated file behind. Without Commit() the temporary file is removed.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& path);  // throws IoError
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void Write(const void* buf, size_t n) { file_.Write(buf, n); }
    // Flushes, closes and renames into place; throws IoError on failure.
    void Commit();
    const std::string& TargetPath() const { return target_; }

private:
    std::string target_;
    std::string temp_;
    File file_;
    bool committed_ = false;
};

} // namespace wb
