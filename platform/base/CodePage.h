#pragma once
#include <string>
#include <string_view>

namespace wb {

// Windows-1252, the code page of the stored formats that fix one (an ID3v1
// tag holds such bytes). In memory all text is UTF-8.
//
// The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the C1 control characters of the same value, so every byte
// string survives the round trip.
std::string Cp1252ToUtf8(std::string_view bytes);

// A character that Windows-1252 cannot hold, and every byte of malformed
// UTF-8, becomes '?': one byte per character, never a shifted length.
std::string Utf8ToCp1252(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (names on disk need not be).
bool IsValidUtf8(std::string_view bytes);
// The bytes as text to show: every byte of malformed UTF-8 becomes U+FFFD.
std::string ShowableUtf8(std::string_view bytes);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);

} // namespace wb
