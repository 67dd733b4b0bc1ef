#include "platform/base/TextUtil.h"

#include "platform/base/CodePage.h"

#include <clocale>
#include <cwchar>
#include <cwctype>
#include <string>
#include <locale.h>

namespace wb {

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Bytes that are not UTF-8 are mapped above the code points so that they
// never equal a character.
constexpr char32_t kRawByte = 0x110000;

// Decodes the character at `i` and moves past it.
char32_t Next(std::string_view s, size_t& i) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const int32_t c = DecodeUtf8(s, i);
    return c < 0 ? kRawByte + b : char32_t(c);
}

// Unicode's lower-case mapping comes from the C library's UTF-8 tables, which
// do not depend on the user's locale; without them ASCII still folds.
char32_t LowerChar(char32_t c) {
    if (c < 0x80) return char32_t(Lower(char(c)));
    if (c >= kRawByte) return c;
    static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return utf8 ? char32_t(::towlower_l(wint_t(c), utf8)) : c;
}

void Append(std::string& out, char32_t c) {
    if (c >= kRawByte) out += char(c - kRawByte);
    else AppendUtf8(out, c);
}

// The code-point order of the lower-case forms.
int CompareLower(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = LowerChar(Next(a, i)), y = LowerChar(Next(b, j));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

// The lower-case form as wide text for collation; false when a byte is no
// UTF-8, which no collation knows.
bool WideLower(std::string_view s, std::wstring& out) {
    for (size_t i = 0; i < s.size();) {
        const char32_t c = LowerChar(Next(s, i));
        if (c >= kRawByte || c == 0) return false;
        out += wchar_t(c);
    }
    return true;
}
} // namespace

bool SameText(std::string_view a, std::string_view b) { return CompareLower(a, b) == 0; }

namespace {
// The user's collation, read once from the environment.
locale_t Collation() {
    static const locale_t collation = ::newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "", locale_t(nullptr));
    return collation;
}
} // namespace

int CompareText(std::string_view a, std::string_view b) {
    const int byCode = CompareLower(a, b);
    if (byCode == 0) return 0;
    const locale_t collation = Collation();
    // Buffers kept from call to call: sorting a folder compares names often.
    thread_local std::wstring wa, wb;
    wa.clear();
    wb.clear();
    if (collation && WideLower(a, wa) && WideLower(b, wb)) {
        const int c = ::wcscoll_l(wa.c_str(), wb.c_str(), collation);
        if (c != 0) return c < 0 ? -1 : 1;
    }
    return byCode;
}

TextSortKey MakeTextSortKey(std::string_view s) {
    TextSortKey key;
    key.lower.reserve(s.size());
    key.collatable = Collation() != locale_t(nullptr);
    for (size_t i = 0; i < s.size();) {
        const char32_t c = LowerChar(Next(s, i));
        key.lower += c;
        if (c >= kRawByte || c == 0) key.collatable = false;
    }
    if (!key.collatable) return key;
    const std::wstring wide(key.lower.begin(), key.lower.end());
    // The transform's length first, then the transform itself.
    const size_t n = ::wcsxfrm_l(nullptr, wide.c_str(), 0, Collation());
    key.collated.resize(n + 1);
    ::wcsxfrm_l(key.collated.data(), wide.c_str(), n + 1, Collation());
    key.collated.resize(n);
    return key;
}

int CompareTextKeys(const TextSortKey& a, const TextSortKey& b) {
    const int byCode = a.lower.compare(b.lower);
    if (byCode == 0) return 0;
    if (a.collatable && b.collatable) {
        const int c = a.collated.compare(b.collated);
        if (c != 0) return c < 0 ? -1 : 1;
    }
    return byCode < 0 ? -1 : 1;
}

std::string LowerText(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) Append(out, LowerChar(Next(s, i)));
    return out;
}

std::string LowerAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = Lower(c);
    return r;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && Blank(s[b])) ++b;
    while (e > b && Blank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

} // namespace wb
