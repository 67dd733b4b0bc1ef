#pragma once
#include <string>
#include <vector>

#include "platform/base/File.h"
#include "platform/base/TerminationCleanup.h"

namespace wb {

// A file written under a temporary name beside its target and renamed over it
// only when complete, so an existing file is never truncated by a write that
// fails half way. Dropped without Commit, the temporary file is removed.
// A link is replaced at the file it points to, and a replaced file keeps its
// permissions. Failures name the target, never the temporary file. A
// SIGTERM, SIGINT or SIGHUP that ends the process removes the temporary file.
class PendingFile {
public:
    PendingFile() = default;
    // Creates the temporary file; throws IoError naming the target when the
    // target cannot be replaced (CheckReplaceable) or the folder cannot take
    // the temporary file (missing, read-only, not a folder).
    explicit PendingFile(const std::string& target);
    ~PendingFile();
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    File& Stream() { return file_; }
    void Write(const void* buf, size_t n) { file_.Write(buf, n); }
    const std::string& Target() const { return target_; }
    const std::string& TempPath() const { return temp_; }

    // Closes the temporary file, reporting a failed final write.
    void Finish();
    // Finishes and renames the temporary file over the target.
    void Commit();
    // Removes the temporary file; the target stays as it was.
    void Discard() noexcept;

private:
    friend void CommitAll(std::vector<PendingFile>& files);
    File file_;
    std::string target_, temp_;
    RemoveOnTermination cleanup_;
};

// Throws IoError naming the target when a finished file could not be put in
// its place: a folder is there, a file this user may not write (or marked
// read-only) is there, or the name is longer than the folder's file system
// holds. Checked before anything is written, so the failure comes first.
void CheckReplaceable(const std::string& target);

// Commits every file or none: when one cannot be put in place, the targets
// already replaced get their former files back (or go, when they are new),
// and the error names the target that failed. A SIGTERM, SIGINT or SIGHUP
// that comes meanwhile ends the process once every name is settled.
void CommitAll(std::vector<PendingFile>& files);

namespace detail {
// Called before each step of CommitAll that changes a folder: the backup of
// a replaced file, the rename of a new one, the removal of a backup. A seam
// for tests that stop a commit part-way; null in the programs.
extern void (*gCommitStepHook)();
} // namespace detail

} // namespace wb
