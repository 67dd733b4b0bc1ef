#include "platform/base/IniFile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/PendingFile.h"

namespace wb {

int IniStore::ReadInteger(std::string_view section, std::string_view ident, int def) const {
    std::string s = Trim(ReadString(section, ident, ""));
    if (s.empty()) return def;
    int value = 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) return def;
    return value;
}

void IniStore::WriteInteger(std::string_view section, std::string_view ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

bool IniStore::ReadBool(std::string_view section, std::string_view ident, bool def) const {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void IniStore::WriteBool(std::string_view section, std::string_view ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

bool IniStore::ValueExists(std::string_view section, std::string_view ident) const {
    for (const std::string& key : ReadSection(section))
        if (SameText(key, ident)) return true;
    return false;
}

namespace {

// The section name of a "[name]" line, or false for any other line.
bool SectionLine(std::string_view line, std::string& name) {
    std::string t = Trim(line);
    if (t.empty() || t[0] != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = Trim(std::string_view(t).substr(1, close - 1));
    return true;
}

// The key and raw value of a "key=value" line.
bool KeyLine(std::string_view line, std::string& key, std::string_view& value) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(line.substr(0, eq));
    if (key.empty()) return false;
    value = line.substr(eq + 1);
    return true;
}

// [begin, end) of the first section of that name: begin is its header line.
bool FindSection(const std::vector<std::string>& lines, std::string_view section,
                 size_t& begin, size_t& end) {
    std::string name;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (SectionLine(lines[i], name) && SameText(name, section)) {
            begin = i;
            end = i + 1;
            while (end < lines.size() && !SectionLine(lines[end], name)) ++end;
            return true;
        }
    }
    return false;
}

size_t FindKey(const std::vector<std::string>& lines, size_t begin, size_t end,
               std::string_view ident) {
    std::string key;
    std::string_view value;
    for (size_t i = begin + 1; i < end; ++i)
        if (KeyLine(lines[i], key, value) && SameText(key, ident)) return i;
    return std::string::npos;
}

bool HasLineBreak(std::string_view s) {
    return s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos;
}

void CheckName(std::string_view section, std::string_view ident) {
    if (HasLineBreak(section) || section.find(']') != std::string_view::npos)
        throw IniFormatError("A settings section name cannot hold \"]\" or a line break");
    if (Trim(ident).empty() || HasLineBreak(ident) || ident.find('=') != std::string_view::npos)
        throw IniFormatError("A settings key must not be empty nor hold \"=\" or a line break");
}

} // namespace

std::vector<std::string> IniFile::Load() const {
    std::vector<std::string> lines;
    if (!FileExists(fileName_)) return lines;
    File f(fileName_, File::Mode::ReadDocument);
    std::string data(static_cast<size_t>(f.Size()), '\0');
    data.resize(f.Read(data.data(), data.size()));
    size_t pos = 0;
    while (pos < data.size()) {
        size_t nl = data.find('\n', pos);
        if (nl == std::string::npos) nl = data.size();
        std::string line = data.substr(pos, nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        pos = nl + 1;
    }
    return lines;
}

void IniFile::Save(const std::vector<std::string>& lines) const {
    std::string data;
    for (const std::string& line : lines) {
        data += line;
        data += '\n';
    }
    PendingFile out(fileName_);
    out.Write(data.data(), data.size());
    out.Commit();
}

std::string IniFile::ReadString(std::string_view section, std::string_view ident,
                                std::string_view def) const {
    std::vector<std::string> lines = Load();
    size_t begin, end;
    if (!FindSection(lines, section, begin, end)) return std::string(def);
    size_t at = FindKey(lines, begin, end, ident);
    if (at == std::string::npos) return std::string(def);
    std::string key;
    std::string_view raw;
    KeyLine(lines[at], key, raw);
    // Files of the Windows version hold their values in its code page.
    std::string value = Utf8OrCp1252(Trim(raw));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return value;
}

void IniFile::WriteString(std::string_view section, std::string_view ident,
                          std::string_view value) {
    CheckName(section, ident);
    if (HasLineBreak(value))
        throw IniFormatError("The value of \"" + std::string(ident) +
                             "\" holds a line break and cannot be stored");
    std::vector<std::string> lines = Load();
    std::string line = std::string(Trim(ident)) + "=" + std::string(value);
    size_t begin, end;
    if (!FindSection(lines, section, begin, end)) {
        if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(line);
    } else if (size_t at = FindKey(lines, begin, end, ident); at != std::string::npos) {
        lines[at] = line;
    } else {
        size_t pos = end;
        while (pos > begin + 1 && Trim(lines[pos - 1]).empty()) --pos;
        lines.insert(lines.begin() + static_cast<ptrdiff_t>(pos), line);
    }
    Save(lines);
}

void IniFile::EraseSection(std::string_view section) {
    std::vector<std::string> lines = Load();
    bool changed = false;
    size_t begin, end;
    while (FindSection(lines, section, begin, end)) {
        lines.erase(lines.begin() + static_cast<ptrdiff_t>(begin),
                    lines.begin() + static_cast<ptrdiff_t>(end));
        changed = true;
    }
    if (changed) Save(lines);
}

void IniFile::DeleteKey(std::string_view section, std::string_view ident) {
    std::vector<std::string> lines = Load();
    size_t begin, end;
    if (!FindSection(lines, section, begin, end)) return;
    size_t at = FindKey(lines, begin, end, ident);
    if (at == std::string::npos) return;
    lines.erase(lines.begin() + static_cast<ptrdiff_t>(at));
    Save(lines);
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    std::vector<std::string> lines = Load();
    size_t begin, end;
    if (!FindSection(lines, section, begin, end)) return keys;
    std::string key;
    std::string_view value;
    for (size_t i = begin + 1; i < end; ++i)
        if (KeyLine(lines[i], key, value)) keys.push_back(key);
    return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
    std::vector<std::string> names;
    std::string name;
    for (const std::string& line : Load())
        if (SectionLine(line, name)) names.push_back(name);
    return names;
}

} // namespace wb
