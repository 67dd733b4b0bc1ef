#pragma once
// A program's version information and the queries made of it: the fixed
// file version, the list of translations and the string entries of each.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace wb {

struct VersionData {
    // The fixed file version: major, minor, release, build.
    uint16_t fileVersion[4] = {0, 0, 0, 0};
    // Each translation: language in the low 16 bits, code page in the high 16.
    std::vector<uint32_t> translations;
    // Per language key ("040904E4"), the entries by name.
    std::map<std::string, std::map<std::string, std::string>> strings;
};

// The answer to one query. Text values count their terminating zero in
// length, as the platform reports them.
struct VersionValue {
    enum class Kind { FixedInfo, Translations, Text } kind = Kind::Text;
    uint32_t fileVersionMS = 0, fileVersionLS = 0;  // FixedInfo
    std::vector<uint32_t> translations;              // Translations
    std::string text;                                // Text, without the zero
    size_t length = 0;                               // Text: characters including the zero
};

// Queries "\" (the fixed information), "\VarFileInfo\Translation" and
// "\StringFileInfo\<key>\<name>". Runs of backslashes count as one and a
// trailing zero character is ignored. False when there is no such entry.
bool QueryVersionValue(const VersionData& data, std::string_view query, VersionValue& value);

} // namespace wb
