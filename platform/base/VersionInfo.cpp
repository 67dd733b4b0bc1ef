#include "platform/base/VersionInfo.h"

#include "platform/base/TextUtil.h"

namespace wb {

bool QueryVersionValue(const VersionData& data, std::string_view query, VersionValue& value) {
    while (!query.empty() && query.back() == '\0') query.remove_suffix(1);
    std::vector<std::string> parts;
    std::string part;
    for (char c : query) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(std::move(part));
    if (query.empty() || query[0] != '\\') return false;

    value = VersionValue{};
    if (parts.empty()) {
        value.kind = VersionValue::Kind::FixedInfo;
        value.fileVersionMS = uint32_t(data.fileVersion[0]) << 16 | data.fileVersion[1];
        value.fileVersionLS = uint32_t(data.fileVersion[2]) << 16 | data.fileVersion[3];
        return true;
    }
    if (parts.size() == 2 && SameText(parts[0], "VarFileInfo") && SameText(parts[1], "Translation")) {
        if (data.translations.empty()) return false;
        value.kind = VersionValue::Kind::Translations;
        value.translations = data.translations;
        return true;
    }
    if (parts.size() == 3 && SameText(parts[0], "StringFileInfo")) {
        for (const auto& [key, entries] : data.strings) {
            if (!SameText(key, parts[1])) continue;
            for (const auto& [name, text] : entries) {
                if (!SameText(name, parts[2])) continue;
                value.kind = VersionValue::Kind::Text;
                value.text = text;
                value.length = text.size() + 1;
                return true;
            }
        }
    }
    return false;
}

} // namespace wb
