#include "file_splitter/ContextMenus.h"

#include <climits>

#include "platform/base/File.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/TextFile.h"

namespace parvex {

namespace {

const auto CR = wb::RegRoot::ClassesRoot;
const auto CU = wb::RegRoot::CurrentUser;

// The design keeps its files under the program's name in lower case.
const char* const kProgramFolderName = "parvex";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

} // namespace

void WriteRegistryString(wb::Registry& registry, wb::RegRoot root, const std::string& key,
                         const std::string& valueName, const std::string& data) {
    registry.SetString(root, key, valueName, data);
}

std::string ReadRegistryString(const wb::Registry& registry, wb::RegRoot root,
                               const std::string& key, const std::string& valueName) {
    return registry.GetString(root, key, valueName).value_or("");
}

std::optional<int> ParseOptionNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

Integration::Integration(wb::Registry registry, std::string programPath)
    : registry_(std::move(registry)), programPath_(std::move(programPath)) {}

std::string Integration::ProgramFolder() const {
    auto slash = programPath_.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : programPath_.substr(0, slash);
}

std::string Integration::ReadPath() const {
    std::string path = ReadRegistryString(registry_, CU, kSoftwareKey, "Path");
    return path.empty() ? ProgramFolder() : path;
}

std::string Integration::FileUnderPath(const std::string& fileName) const {
    return wb::BesideProgramFolder(ReadPath(), kProgramFolderName) + "/" + fileName;
}

std::string Integration::HelpFile() const {
    return wb::ProgramDataFile(ReadPath(), kProgramFolderName, kHelpFileName);
}

std::string Integration::IconFile() const {
    auto scalable = wb::ProgramIconFiles(ProgramFolder(), kProgramFolderName, ".svg");
    return scalable.empty() ? std::string(kProgramFolderName) : scalable.front();
}

std::string Integration::JoinCommand() const { return Quoted(programPath_) + " " + Quoted("%1"); }

std::string Integration::CutCommand() const {
    auto slash = programPath_.find_last_of('/');
    std::string name = slash == std::string::npos ? programPath_ : programPath_.substr(slash + 1);
    return Quoted(ReadPath() + "/" + name) + " " + kMarkerWord + " " + Quoted("%1");
}

void Integration::RegisterPieceFileType() {
    WriteRegistryString(registry_, CR, ".brk", "", "brkfile");
    WriteRegistryString(registry_, CR, "brkfile", "", "Parvex File-Piece");
    WriteRegistryString(registry_, CR, "brkfile\\shell", "", "join");
    WriteRegistryString(registry_, CR, "brkfile\\shell\\join", "", "&Reassemble the File");
    WriteRegistryString(registry_, CR, "brkfile\\shell\\join\\command", "", JoinCommand());
    WriteRegistryString(registry_, CR, "brkfile\\DefaultIcon", "", IconFile());
    WriteRegistryString(registry_, CU, kSoftwareKey, "Path", ProgramFolder());
}

void Integration::SetContextMenuOption(int option) {
    if (option != 1) registry_.DeleteKey(CR, kCutVerbAll);
    if (option != 2) registry_.DeleteKey(CR, kCutVerbUnknown);
    if (option == 1)
        WriteRegistryString(registry_, CR, "*\\shell\\Cut Using Parvex\\command", "", CutCommand());
    if (option == 2)
        WriteRegistryString(registry_, CR, "Unknown\\shell\\Cut Using Parvex\\command", "", CutCommand());
    wb::WriteFileReplacing(FileUnderPath(kOptionFileName), std::to_string(option));
}

void Integration::ApplyContextMenuOption(const std::string& optionFile) {
    int option = 3;
    if (auto text = wb::ReadWholeFile(optionFile)) {
        auto n = ParseOptionNumber(*text);
        if (n && (*n == 1 || *n == 2)) option = *n;
    }
    try {
        SetContextMenuOption(option);
    } catch (const wb::IoError&) {
        // Start-up goes on without the menus; the settings dialog reports.
    }
}

bool Integration::MarkerPresent() const {
    return wb::ReadWholeFile(FileUnderPath(kMarkerFileName)).has_value();
}

void Integration::WriteMarker() {
    std::string folder = wb::BesideProgramFolder(ProgramFolder(), kProgramFolderName);
    wb::WriteFileReplacing(folder + "/" + kMarkerFileName, kMarkerText);
}

} // namespace parvex
