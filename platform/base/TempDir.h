#pragma once
#include <string>

#include "platform/base/TerminationCleanup.h"

namespace wb {

// The system temp folder ($TMPDIR or /tmp).
std::string SystemTempFolder();

// A private folder (mode 0700) under the system temp folder, removed with
// everything in it when the object goes away.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "wb");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // From now on, a SIGTERM, SIGINT or SIGHUP that ends the process removes
    // the folder and the files in it first (not its subfolders).
    void RemoveOnTermination();
    // Path of a name inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    wb::RemoveOnTermination cleanup_;
};

// Removes a file or a folder tree; quiet about what does not exist.
void RemoveTree(const std::string& path);

} // namespace wb
