#pragma once
#include <string>

namespace wb {

// The running program's own file (from /proc/self/exe), its folder and its
// file name.
std::string ProgramPath();
std::string ProgramFolder();
std::string ProgramName();

// The user's XDG base folders: $XDG_CONFIG_HOME or ~/.config, $XDG_DATA_HOME
// or ~/.local/share. Relative values are ignored, as the XDG rules say.
std::string ConfigHome();
std::string DataHome();

// Where the files that belong "beside the program" go: the program's folder
// when this user may write there, else $XDG_CONFIG_HOME/<programName>/,
// created on demand. Every such file is placed through this one choice.
std::string BesideProgramFolder(const std::string& programFolder, const std::string& programName);
std::string BesideProgramFolder();  // for the running program
std::string BesideProgram(const std::string& fileName);

// Creates a folder and its parents (mode 0755); true when it exists afterwards.
bool MakeFolders(const std::string& path);

} // namespace wb
