#pragma once
// Points the XDG config and data folders at a private temporary folder for
// the life of the object, so tests never touch the machine's own desktop.
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/base/TempDir.h"

namespace wb::test {

class XdgSandbox {
public:
    XdgSandbox() : dir_("xdg") {
        Save("XDG_CONFIG_HOME", config_);
        Save("XDG_DATA_HOME", data_);
        ::setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
        ::setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
    }
    ~XdgSandbox() {
        Restore("XDG_CONFIG_HOME", config_);
        Restore("XDG_DATA_HOME", data_);
    }
    XdgSandbox(const XdgSandbox&) = delete;
    XdgSandbox& operator=(const XdgSandbox&) = delete;

    std::string Root() const { return dir_.Path(); }
    std::string ConfigHome() const { return dir_ / "config"; }
    std::string DataHome() const { return dir_ / "data"; }

private:
    static void Save(const char* var, std::optional<std::string>& slot) {
        if (const char* v = std::getenv(var)) slot = v;
    }
    static void Restore(const char* var, const std::optional<std::string>& slot) {
        if (slot) ::setenv(var, slot->c_str(), 1);
        else ::unsetenv(var);
    }
    TempDir dir_;
    std::optional<std::string> config_, data_;
};

} // namespace wb::test
