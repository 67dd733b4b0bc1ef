#include "platform/base/ProgramPaths.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace wb {

namespace {

std::string HomeFolder() {
    const char* h = std::getenv("HOME");
    if (h && *h) return h;
    if (const passwd* pw = ::getpwuid(::getuid())) return pw->pw_dir;
    return "/tmp";
}

std::string XdgFolder(const char* var, const char* fallbackBelowHome) {
    const char* v = std::getenv(var);
    if (v && v[0] == '/') return v;
    return HomeFolder() + "/" + fallbackBelowHome;
}

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

} // namespace

std::string ProgramPath() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string ProgramFolder() { return FolderOf(ProgramPath()); }

std::string ProgramName() {
    std::string p = ProgramPath();
    auto slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string ConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }
std::string DataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

bool MakeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

std::string BesideProgramFolder(const std::string& programFolder, const std::string& programName) {
    if (!programFolder.empty() && ::access(programFolder.c_str(), W_OK | X_OK) == 0)
        return programFolder;
    std::string folder = ConfigHome() + "/" + programName;
    MakeFolders(folder);
    return folder;
}

std::string BesideProgramFolder() { return BesideProgramFolder(ProgramFolder(), ProgramName()); }

std::string BesideProgram(const std::string& fileName) {
    return BesideProgramFolder() + "/" + fileName;
}

} // namespace wb
