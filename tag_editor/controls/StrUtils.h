#pragma once
// Word splitting and keyed hex encoding of texts.
#include <string>
#include <string_view>

namespace velmora {

// Delimiters are given as a set of characters, e.g. " ,".
int CountWords(std::string_view text, std::string_view delimiters);
// 1-based position of the n-th word's first character; 0 when there are fewer.
int WordStart(int n, std::string_view text, std::string_view delimiters);
std::string NthWord(int n, std::string_view text, std::string_view delimiters);
// Each byte as two lower-case hex digits, XORed with the key's bytes in turn.
std::string HexXorEncode(std::string_view key, std::string_view text);
std::string HexXorDecode(std::string_view key, std::string_view text);

} // namespace velmora
