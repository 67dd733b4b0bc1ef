#pragma once
#include <string>
#include <string_view>

namespace wb {

// Names (settings keys, component names) compare without regard to ASCII
// case; other bytes of UTF-8 compare as they are.
bool SameText(std::string_view a, std::string_view b);
std::string LowerAscii(std::string_view s);
// Removes leading and trailing blanks and control characters (bytes <= 32).
std::string Trim(std::string_view s);

} // namespace wb
