#pragma once
#include <stdexcept>
#include <string>

namespace wb {

// A failed file operation: carries the file's name and the system's reason,
// so the message a user sees says which file and why.
class IoError : public std::runtime_error {
public:
    IoError(std::string fileName, std::string operation, int errnum);
    IoError(std::string fileName, std::string operation, std::string reason);

    const std::string& FileName() const { return fileName_; }
    const std::string& Operation() const { return operation_; }
    const std::string& Reason() const { return reason_; }
    int Errno() const { return errno_; }

private:
    std::string fileName_, operation_, reason_;
    int errno_ = 0;
};

} // namespace wb
