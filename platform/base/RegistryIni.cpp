#include "platform/base/RegistryIni.h"

namespace wb {

std::string RegistryIni::Path(std::string_view section) const {
    return section.empty() ? key_ : key_ + "\\" + std::string(section);
}

std::string RegistryIni::ReadString(std::string_view section, std::string_view ident,
                                    std::string_view def) const {
    std::optional<std::string> v = registry_.GetString(root_, Path(section), std::string(ident));
    return v ? *v : std::string(def);
}

void RegistryIni::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
    registry_.SetString(root_, Path(section), std::string(ident), std::string(value));
}

void RegistryIni::EraseSection(std::string_view section) { registry_.DeleteKey(root_, Path(section)); }

void RegistryIni::DeleteKey(std::string_view section, std::string_view ident) {
    registry_.DeleteValue(root_, Path(section), std::string(ident));
}

std::vector<std::string> RegistryIni::ReadSection(std::string_view section) const {
    return registry_.ValueNames(root_, Path(section));
}

} // namespace wb
