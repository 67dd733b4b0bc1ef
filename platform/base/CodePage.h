#pragma once
#include <cstdint>
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

// Text read from a file that older versions wrote in Windows-1252 and newer
// ones in UTF-8: taken as UTF-8 when it is well-formed UTF-8, else as
// Windows-1252.
std::string Utf8OrCp1252(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (names on disk need not be).
bool IsValidUtf8(std::string_view bytes);
// The bytes as text to show: every byte of malformed UTF-8 becomes U+FFFD.
std::string ShowableUtf8(std::string_view bytes);

// Decodes one UTF-8 sequence at s[i]; returns the code point or -1 for a
// malformed one, and advances i past what was consumed: one byte of a
// malformed sequence. Inline, as comparing names runs through it.
inline int32_t DecodeUtf8(std::string_view s, size_t& i) {
    auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) { ++i; return b0; }
    int len;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
    else { ++i; return -1; }
    if (i + len > s.size()) { ++i; return -1; }
    for (int k = 1; k < len; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) { ++i; return -1; }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) { ++i; return -1; }
    i += len;
    return static_cast<int32_t>(cp);
}

// Appends the UTF-8 form of a code point.
inline void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace wb
