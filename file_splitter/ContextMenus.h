#pragma once
// Parvex's place in the desktop: the piece file type with its "join" verb,
// the "Cut Using Parvex" verb of the chosen context-menu option, the
// program's folder as "Path", and the two small files kept beside the
// program (the option file and the first-start marker). The settings store
// mirrors the verbs into the desktop's file managers.
#include <optional>
#include <string>

#include "platform/base/Registry.h"

namespace parvex {

inline constexpr const char* kSoftwareKey = "software\\Parvex";
inline constexpr const char* kOptionFileName = "cmopt.qzt";
inline constexpr const char* kMarkerFileName = "regfile.qzt";
inline constexpr const char* kMarkerText = "Registry Succesfully Modified";
inline constexpr const char* kHelpFileName = "qz15help.doc";
inline constexpr const char* kCutVerbAll = "*\\Shell\\Cut Using Parvex";
inline constexpr const char* kCutVerbUnknown = "Unknown\\Shell\\Cut Using Parvex";
inline constexpr const char* kMarkerWord = "Tamrel";

// Sets a string value, creating the key; an empty name sets the default
// value. Throws wb::IoError when the store cannot be written.
void WriteRegistryString(wb::Registry& registry, wb::RegRoot root, const std::string& key,
                         const std::string& valueName, const std::string& data);
// The value, or "" when the key or the value is missing.
std::string ReadRegistryString(const wb::Registry& registry, wb::RegRoot root,
                               const std::string& key, const std::string& valueName);

// The decimal number at the start of an option file (blanks and a sign
// allowed before it); nothing when there is none or it does not fit.
std::optional<int> ParseOptionNumber(const std::string& text);

class Integration {
public:
    Integration(wb::Registry registry, std::string programPath);

    wb::Registry& Registry() { return registry_; }
    const std::string& ProgramPath() const { return programPath_; }
    // The program's folder: its own path up to the last '/'.
    std::string ProgramFolder() const;

    // "Path" of the program's key; before it exists (the first start), the
    // program's own folder.
    std::string ReadPath() const;
    // A file that belongs beside the program named by "Path" (or in the
    // user's folder for it, when that folder is not writable).
    std::string FileUnderPath(const std::string& fileName) const;
    // The help document that comes with the program named by "Path": beside
    // it, or in share/parvex/ of an installed program.
    std::string HelpFile() const;
    // The program's icon for the piece file type: its scalable icon below
    // the program's prefix, else the icon's theme name.
    std::string IconFile() const;

    // The ".brk" file type, its "join" verb and "Path". Throws wb::IoError.
    void RegisterPieceFileType();
    // Carries out option 1, 2 or 3 and stores its number. Throws wb::IoError.
    void SetContextMenuOption(int option);
    // Applies the option stored in the file; a file that is missing or holds
    // no 1 or 2 gives option 3. Failures are quiet, as at every start.
    void ApplyContextMenuOption(const std::string& optionFile);

    bool MarkerPresent() const;
    // Writes the marker into the running program's folder. Throws wb::IoError.
    void WriteMarker();

    // The commands of the verbs; the path placeholder is quoted.
    std::string JoinCommand() const;
    std::string CutCommand() const;

private:
    wb::Registry registry_;
    std::string programPath_;
};

} // namespace parvex
