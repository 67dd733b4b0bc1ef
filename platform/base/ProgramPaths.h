#pragma once
#include <string>
#include <vector>

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

// An installed program is one whose prefix (the folder above its own) holds
// its desktop entry, share/applications/<programName>.desktop, as
// `cmake --install` and the packages lay it out.
bool IsInstalledProgram(const std::string& programFolder, const std::string& programName);

// Where the files that belong "beside the program" go: the program's folder
// when this user may write there and the program is not installed, else
// $XDG_CONFIG_HOME/<programName>/, created on demand. An installed program's
// folder is shared by every user and owned by its package, so nothing is
// written there even by root. Every such file is placed through this one
// choice.
std::string BesideProgramFolder(const std::string& programFolder, const std::string& programName);
std::string BesideProgramFolder();  // for the running program
std::string BesideProgram(const std::string& fileName);

// Read-only data that comes with the program: beside it (the build tree),
// else in <prefix>/share/<programName>/ of an installed program. The path
// beside the program when neither place holds the file.
std::string ProgramDataFile(const std::string& programFolder, const std::string& programName,
                            const std::string& fileName);

// The program's icons in the hicolor theme below its prefix (an install
// tree, or the build tree's share/icons): <programName><extension> (".png",
// ".svg") of every size folder, in name order; empty when there are none.
std::vector<std::string> ProgramIconFiles(const std::string& programFolder,
                                          const std::string& programName,
                                          const std::string& extension);

// Creates a folder and its parents (mode 0755); true when it exists afterwards.
bool MakeFolders(const std::string& path);

} // namespace wb
