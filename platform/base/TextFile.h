#pragma once
#include <optional>
#include <string>

namespace wb {

// The whole content of a file; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces a file's content safely: the new content goes to a temporary file
// beside it, which is renamed over the old one only when complete, so a
// failure leaves the old file as it was. Throws IoError.
void WriteFileReplacing(const std::string& path, const std::string& content, unsigned mode = 0644);

} // namespace wb
