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
// A text made ready for many comparisons, as sorting a folder needs: two
// keys compare as CompareText compares their texts, without decoding and
// collating the texts again at each comparison.
struct TextSortKey {
    std::u32string lower;   // lower-case code points; a raw byte above them all
    std::wstring collated;  // the user's collation's transform of `lower`
    bool collatable = false;
};
TextSortKey MakeTextSortKey(std::string_view s);
int CompareTextKeys(const TextSortKey& a, const TextSortKey& b);
// The lower-case form CompareText compares by.
std::string LowerText(std::string_view s);
std::string LowerAscii(std::string_view s);
// Removes leading and trailing blanks and control characters (bytes <= 32).
std::string Trim(std::string_view s);

} // namespace wb
