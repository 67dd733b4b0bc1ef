#pragma once
// Word splitting, replacing and keyed hex encoding of texts.
#include <string>
#include <string_view>

namespace velmora {

// Case-sensitive, left to right; what a replacement brings in is not searched
// again, and an empty search text changes nothing.
std::string ReplaceAllText(std::string_view text, std::string_view search, std::string_view replacement);
// Delimiters are given as a set of characters, e.g. " ,".
int CountWords(std::string_view text, std::string_view delimiters);
// 1-based position of the n-th word's first character; 0 when there are fewer.
int WordStart(int n, std::string_view text, std::string_view delimiters);
std::string NthWord(int n, std::string_view text, std::string_view delimiters);
// Each byte as two lower-case hex digits, XORed with the key's bytes in turn.
std::string HexXorEncode(std::string_view key, std::string_view text);
std::string HexXorDecode(std::string_view key, std::string_view text);

} // namespace velmora
