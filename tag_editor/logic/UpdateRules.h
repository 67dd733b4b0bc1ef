#pragma once
// The rules of the live update that need no window: versions, the archive's
// name and place, the numbers shown while it downloads.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// 1234567 -> "1.234.567".
std::string GroupThousands(uint64_t value);

// Whether remote is newer than local, comparing dot-separated whole numbers
// from the left; a part missing from the shorter version counts as 0.
// Throws std::invalid_argument naming a part that is not a whole number.
bool IsNewerVersion(const std::string& local, const std::string& remote);

// Why a server's "FileName" cannot name a file in the chosen folder, or
// nothing when it can (no separators, no "..", no control characters).
std::optional<std::string> RefuseUpdateFileName(const std::string& fileName);

// The folder (given a trailing separator), the name, " v", the version, ".zip".
std::string ArchivePath(const std::string& folder, const std::string& fileName, const std::string& version);

// Percent of a transfer for the bar: rounded, halves to even; 0 without a total.
int DownloadPercent(uint64_t received, uint64_t total);

// A downloaded archive worth handing to the updater: a zip archive that
// starts with an entry and ends with an end record naming a central
// directory that lies within the file before it. An empty file or an HTML
// page of the server's fails the first, an archive cut short by a server
// that sent no length and closed early fails the second.
bool LooksLikeArchive(const std::string& path);
// The same for an archive's bytes in memory.
bool IsCompleteZip(std::string_view bytes);

} // namespace velmora
