#include "tag_editor/controls/storage/AppUtils.h"

#include <filesystem>

#include "platform/base/ProgramPaths.h"
#include "platform/gui/ScreenInfo.h"
#include "platform/gui/WinControl.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

bool IsForm(const wb::Component* c) {
    for (const wb::Component* f : wb::FormList::All())
        if (f == c) return true;
    return false;
}

std::string ProgramStem() { return fs::path(wb::ProgramName()).stem().string(); }

} // namespace

std::string DefaultSectionName(const wb::Component* component) {
    if (!component) return {};
    if (IsForm(component)) return component->ClassName();
    std::string name = component->Name();
    if (auto* control = dynamic_cast<const wb::gui::Control*>(component)) {
        const wb::Component* form = nullptr;
        for (const wb::gui::Control* p = control->Parent(); p; p = p->Parent())
            if (IsForm(p)) { form = p; break; }
        if (form) return form->ClassName() + name;
        if (control->Parent()) return control->Parent()->Name() + name;
        return name;
    }
    if (IsForm(component->Owner())) return component->Owner()->ClassName() + "." + name;
    return name;
}

std::string DefaultIniName() { return wb::BesideProgram(ProgramStem() + ".INI"); }

std::string DefaultRegistryKey() { return "Software\\" + ProgramStem(); }

std::string ProfileReadString(const wb::IniStore* store, std::string_view section,
                              std::string_view ident, std::string_view def) {
    return store ? store->ReadString(section, ident, def) : std::string(def);
}

void ProfileWriteString(wb::IniStore* store, std::string_view section, std::string_view ident,
                        std::string_view value) {
    if (!store) return;
    if (dynamic_cast<wb::IniFile*>(store) && value.size() >= 2 &&
        (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        store->WriteString(section, ident, "\"" + std::string(value) + "\"");
        return;
    }
    store->WriteString(section, ident, value);
}

int ProfileReadInteger(const wb::IniStore* store, std::string_view section, std::string_view ident, int def) {
    return store ? store->ReadInteger(section, ident, def) : def;
}

void ProfileWriteInteger(wb::IniStore* store, std::string_view section, std::string_view ident, int value) {
    if (store) store->WriteInteger(section, ident, value);
}

std::string ScreenSizeSuffix() {
    wb::gui::ScreenMetrics s = wb::gui::Screen();
    return "(" + std::to_string(s.width) + "x" + std::to_string(s.height) + ")";
}

std::string ReadPlacementText(const wb::IniStore* store, std::string_view section, std::string_view ident) {
    std::string text = ProfileReadString(store, section, std::string(ident) + ScreenSizeSuffix(), "");
    if (text.empty()) text = ProfileReadString(store, section, ident, "");
    return text;
}

void WritePlacementText(wb::IniStore* store, std::string_view section, std::string_view ident,
                        std::string_view value) {
    ProfileWriteString(store, section, std::string(ident) + ScreenSizeSuffix(), value);
    ProfileWriteString(store, section, ident, value);
}

} // namespace velmora
