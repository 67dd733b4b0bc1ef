#include "tag_editor/controls/AppUtils.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/gui/ScreenInfo.h"
#include "platform/gui/WinControl.h"

namespace fs = std::filesystem;

namespace {

bool IsForm(const wb::Component* c) {
    for (const wb::Component* f : wb::FormList::All())
        if (f == c) return true;
    return false;
}

fs::path ProgramFile() {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path("velmora") : p;
}

bool WritableFolder(const fs::path& dir) {
    std::error_code ec;
    fs::path probe = dir / (".wb-probe-" + std::to_string(reinterpret_cast<uintptr_t>(&ec)));
    FILE* f = std::fopen(probe.c_str(), "w");
    if (!f) return false;
    std::fclose(f);
    fs::remove(probe, ec);
    return true;
}

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

std::string DefaultIniName() {
    fs::path exe = ProgramFile();
    std::string file = exe.stem().string() + ".INI";
    if (WritableFolder(exe.parent_path())) return (exe.parent_path() / file).string();
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    fs::path base = xdg && *xdg ? fs::path(xdg) : fs::path(home ? home : "/tmp") / ".config";
    fs::path dir = base / exe.stem();
    std::error_code ec;
    fs::create_directories(dir, ec);
    return (dir / file).string();
}

std::string DefaultRegistryKey() { return "Software\\" + ProgramFile().stem().string(); }

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
