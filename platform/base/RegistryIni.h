#pragma once
// Settings sections as keys of the registry stand-in: section S of a store
// on key K is the key K\S, each setting one of its values.
#include "platform/base/IniFile.h"
#include "platform/base/Registry.h"

namespace wb {

class RegistryIni : public IniStore {
public:
    RegistryIni(Registry registry, RegRoot root, std::string key)
        : registry_(std::move(registry)), root_(root), key_(std::move(key)) {}

    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view def) const override;
    void WriteString(std::string_view section, std::string_view ident, std::string_view value) override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view ident) override;
    std::vector<std::string> ReadSection(std::string_view section) const override;

private:
    std::string Path(std::string_view section) const;
    Registry registry_;
    RegRoot root_;
    std::string key_;
};

} // namespace wb
