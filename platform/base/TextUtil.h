#pragma once
#include <string>
#include <string_view>

namespace wb {

// The one case-blind comparison of the whole tree (names, settings keys,
// file names, masks, list orders): UTF-8 is compared character by character
// by each character's lower-case form, so "Ärger" and "äRGER" are the same
// text. Texts that differ are ordered as the user's locale collates their
// lower-case forms, ties by code point. A byte that is not valid UTF-8
// stands for itself.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// The lower-case form CompareText compares by.
std::string LowerText(std::string_view s);
std::string LowerAscii(std::string_view s);
// Removes leading and trailing blanks and control characters (bytes <= 32).
std::string Trim(std::string_view s);

} // namespace wb
