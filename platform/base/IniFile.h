#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/IoError.h"
#include "platform/base/TextUtil.h"

namespace wb {

// The store a settings object reads and writes: sections of keys with text
// values. Section and key names compare without regard to ASCII case.
class IniStore {
public:
    virtual ~IniStore() = default;
    virtual std::string ReadString(std::string_view section, std::string_view ident,
                                   std::string_view def) const = 0;
    virtual void WriteString(std::string_view section, std::string_view ident,
                             std::string_view value) = 0;
    virtual void EraseSection(std::string_view section) = 0;
    virtual void DeleteKey(std::string_view section, std::string_view ident) = 0;
    virtual std::vector<std::string> ReadSection(std::string_view section) const = 0;

    // Integers in decimal; a value that is not one gives the default.
    int ReadInteger(std::string_view section, std::string_view ident, int def) const;
    void WriteInteger(std::string_view section, std::string_view ident, int value);
    // Booleans are stored as "1" and "0"; any other integer than 0 reads as true.
    bool ReadBool(std::string_view section, std::string_view ident, bool def) const;
    void WriteBool(std::string_view section, std::string_view ident, bool value);
    bool ValueExists(std::string_view section, std::string_view ident) const;
};

// A value, key or section name that cannot be written without breaking the
// file's line structure.
class IniFormatError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// A settings file of "[Section]" lines and "Key=Value" lines.
//
// Reads go to the file each time and writes reach it at once, so two
// objects on one file see each other's changes. A write replaces the file
// through a temporary file beside it; the old content stays until the new
// one is complete. Reading trims the value and strips one pair of enclosing
// double or single quotes. The first of several equal sections or keys wins.
class IniFile : public IniStore {
public:
    explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view def) const override;
    // Throws IniFormatError for a line break in the section, key or value, a
    // "]" in the section, a "=" in the key or an empty key; IoError when the
    // file cannot be written.
    void WriteString(std::string_view section, std::string_view ident,
                     std::string_view value) override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view ident) override;
    std::vector<std::string> ReadSection(std::string_view section) const override;
    std::vector<std::string> ReadSections() const;

private:
    std::vector<std::string> Load() const;
    void Save(const std::vector<std::string>& lines) const;
    std::string fileName_;
};

} // namespace wb
