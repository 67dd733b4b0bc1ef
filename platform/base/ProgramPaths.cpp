#include "platform/base/ProgramPaths.h"

#include <algorithm>
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

bool IsInstalledProgram(const std::string& programFolder, const std::string& programName) {
    std::error_code ec;
    return !programFolder.empty() &&
           std::filesystem::is_regular_file(
               FolderOf(programFolder) + "/share/applications/" + programName + ".desktop", ec);
}

std::string BesideProgramFolder(const std::string& programFolder, const std::string& programName) {
    if (!programFolder.empty() && ::access(programFolder.c_str(), W_OK | X_OK) == 0 &&
        !IsInstalledProgram(programFolder, programName))
        return programFolder;
    std::string folder = ConfigHome() + "/" + programName;
    MakeFolders(folder);
    return folder;
}

std::string BesideProgramFolder() { return BesideProgramFolder(ProgramFolder(), ProgramName()); }

std::string BesideProgram(const std::string& fileName) {
    return BesideProgramFolder() + "/" + fileName;
}

std::string ProgramDataFile(const std::string& programFolder, const std::string& programName,
                            const std::string& fileName) {
    std::error_code ec;
    std::string beside = programFolder + "/" + fileName;
    if (std::filesystem::is_regular_file(beside, ec)) return beside;
    std::string shared = FolderOf(programFolder) + "/share/" + programName + "/" + fileName;
    if (std::filesystem::is_regular_file(shared, ec)) return shared;
    return beside;
}

std::vector<std::string> ProgramIconFiles(const std::string& programFolder,
                                          const std::string& programName,
                                          const std::string& extension) {
    std::vector<std::string> icons;
    std::error_code ec;
    std::filesystem::directory_iterator sizes(FolderOf(programFolder) + "/share/icons/hicolor", ec);
    for (; !ec && sizes != std::filesystem::directory_iterator(); sizes.increment(ec)) {
        std::string icon = sizes->path().string() + "/apps/" + programName + extension;
        std::error_code fileEc;
        if (std::filesystem::is_regular_file(icon, fileEc)) icons.push_back(icon);
    }
    std::sort(icons.begin(), icons.end());
    return icons;
}

} // namespace wb
