#pragma once
#include <optional>
#include <string>

namespace wb {

// Why a rename did not happen. Nothing was moved or replaced in any case.
struct RenameError {
    enum class Kind {
        TargetExists,  // the new name is taken by a file or folder
        NotAbsolute,   // a path was relative: the current folder is never used
        System         // the system refused; errnum and reason say why
    };
    Kind kind = Kind::System;
    int errnum = 0;
    std::string reason;  // the system's text, for messages
};

// Gives a file or folder a new name and never replaces whatever the new name
// already names, also against another program creating it at the same moment.
// Both paths must be absolute. File systems without the kernel's no-replace
// rename get it from a hard link (files), else from reserving the new name
// with an empty entry of our own, checked to be still ours just before the
// move replaces it.
[[nodiscard]] std::optional<RenameError> RenameNoReplace(const std::string& from,
                                                         const std::string& to);

// The longest name, in bytes, that the file system of a folder holds.
long MaxNameLength(const std::string& folder);

namespace detail {
// The fallbacks, reachable for tests on file systems that never need them.
std::optional<RenameError> RenameByLink(const std::string& from, const std::string& to);
std::optional<RenameError> RenameByReservation(const std::string& from, const std::string& to);
} // namespace detail

} // namespace wb
