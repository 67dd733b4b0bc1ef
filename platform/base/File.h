#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/IoError.h"

namespace wb {

// A binary file with 64-bit sizes and positions. Every failure throws IoError;
// the descriptor is closed by the destructor on every path.
class File {
public:
    enum class Mode {
        Read,          // existing file, read only
        ReadDocument,  // existing regular file, read only; a FIFO, device or
                       // folder is refused at once instead of blocking
        ReadWrite,     // existing file, read and write, never truncated
        Create,        // created or truncated, write only
        CreateNew      // created, fails when it exists
    };

    File() = default;
    File(const std::string& path, Mode mode);
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    void Open(const std::string& path, Mode mode);
    void Close();  // throws when the final close reports a write error
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // The name its failures report, when that is not the path it was opened
    // by (a temporary file stands for the file the user chose).
    void ReportAs(std::string name) { reportedName_ = std::move(name); }

    int64_t Size() const;
    // The size and the mode (st_mode) as they were when the file was opened,
    // which spares a reader that opens, reads and closes a query.
    int64_t SizeAtOpen() const { return sizeAtOpen_; }
    unsigned ModeAtOpen() const { return modeAtOpen_; }
    int64_t Position() const;
    void Seek(int64_t pos);
    // Reads up to n bytes; returns how many were read (fewer only at the end).
    size_t Read(void* buf, size_t n);
    // Reads exactly n bytes or throws.
    void ReadExact(void* buf, size_t n);
    void Write(const void* buf, size_t n);
    // At a position, leaving the file's own position alone, so several
    // threads may read or write one file at once.
    size_t ReadAt(void* buf, size_t n, int64_t pos);
    void ReadExactAt(void* buf, size_t n, int64_t pos);
    void WriteAt(const void* buf, size_t n, int64_t pos);
    void Truncate(int64_t length);
    void Sync();

private:
    [[noreturn]] void Fail(const char* operation) const;
    const std::string& ReportedName() const { return reportedName_.empty() ? path_ : reportedName_; }
    int fd_ = -1;
    int64_t sizeAtOpen_ = 0;
    unsigned modeAtOpen_ = 0;
    std::string path_;
    std::string reportedName_;
};

// Whole-file helpers.
bool FileExists(const std::string& path);          // a regular file or a link to one
bool DirectoryExists(const std::string& path);
// Removes a file or a link, never a folder. One already gone is no failure;
// any other refusal throws IoError with the system's reason.
void RemoveFile(const std::string& path);
// There, but no regular file: a FIFO, a device, a socket or a folder.
bool IsSpecialFile(const std::string& path);
int64_t FileSizeOf(const std::string& path);       // throws IoError
// The read-only test: true when the user may not write the file, when it
// carries no write permission at all (the read-only attribute, which holds
// for root as well), or when its attributes cannot be read.
bool IsReadOnlyFile(const std::string& path);
// The same from a mode already read (st_mode, 0 when it could not be read),
// and for a file already open, from what its opening saw.
bool IsReadOnlyFile(const std::string& path, unsigned mode);
bool IsReadOnlyFile(const File& opened);
// True when both names refer to one file on disk (same device and inode).
bool SameFile(const std::string& a, const std::string& b);
// One entry of a folder with the facts one status query gives. Links are
// followed; an entry whose status cannot be read (a dangling link) is
// neither a folder nor a regular file and counts as read-only.
struct FolderEntry {
    std::string name;        // the bytes the folder gave
    bool known = false;      // its status could be read
    bool isDirectory = false;
    bool isRegular = false;
    bool readOnly = false;   // as IsReadOnlyFile says
    int64_t size = 0;        // of a regular file
    int64_t modified = 0;    // seconds since 1970
};
// Every entry of a folder but "." and "..", in the folder's own order; empty
// when the folder cannot be read. Each entry is looked up from the open
// folder, not by its whole path again.
std::vector<FolderEntry> ReadFolder(const std::string& path);

// The path on disk that a path shown as text stands for, when some of its
// names are not UTF-8 and were shown with replacement characters (as a
// dialog of the desktop gives a path back): an element that does not exist
// as given is taken as the one entry of its folder shown that way. Elements
// that exist, or that no entry or several entries match, stay as given.
std::string PathOnDisk(const std::string& shown);

} // namespace wb
