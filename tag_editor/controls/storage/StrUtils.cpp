#include "tag_editor/controls/storage/StrUtils.h"

namespace velmora {

namespace {
bool IsDelimiter(char c, std::string_view delimiters) {
    return delimiters.find(c) != std::string_view::npos;
}
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
} // namespace

std::string ReplaceAllText(std::string_view text, std::string_view search, std::string_view replacement) {
    if (search.empty()) return std::string(text);
    std::string out;
    std::size_t pos = 0;
    for (std::size_t at; (at = text.find(search, pos)) != std::string_view::npos; pos = at + search.size()) {
        out.append(text.substr(pos, at - pos));
        out.append(replacement);
    }
    out.append(text.substr(pos));
    return out;
}

int CountWords(std::string_view text, std::string_view delimiters) {
    int count = 0;
    bool inWord = false;
    for (char c : text) {
        bool delim = IsDelimiter(c, delimiters);
        if (!delim && !inWord) ++count;
        inWord = !delim;
    }
    return count;
}

int WordStart(int n, std::string_view text, std::string_view delimiters) {
    if (n <= 0) return 0;
    int count = 0;
    bool inWord = false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool delim = IsDelimiter(text[i], delimiters);
        if (!delim && !inWord && ++count == n) return static_cast<int>(i) + 1;
        inWord = !delim;
    }
    return 0;
}

std::string NthWord(int n, std::string_view text, std::string_view delimiters) {
    int start = WordStart(n, text, delimiters);
    if (start == 0) return {};
    size_t end = static_cast<size_t>(start - 1);
    while (end < text.size() && !IsDelimiter(text[end], delimiters)) ++end;
    return std::string(text.substr(size_t(start - 1), end - size_t(start - 1)));
}

std::string HexXorEncode(std::string_view key, std::string_view text) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned code = static_cast<unsigned char>(text[i]);
        if (!key.empty()) code ^= static_cast<unsigned char>(key[i % key.size()]);
        out += digits[(code >> 4) & 15];
        out += digits[code & 15];
    }
    return out;
}

std::string HexXorDecode(std::string_view key, std::string_view text) {
    std::string out;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        unsigned code = hi < 0 || lo < 0 ? 32u : unsigned(hi * 16 + lo);
        if (!key.empty()) code ^= static_cast<unsigned char>(key[(i / 2) % key.size()]);
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}

} // namespace velmora
