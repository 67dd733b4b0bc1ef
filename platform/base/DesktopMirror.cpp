#include "platform/base/DesktopMirror.h"

#include <cerrno>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/base/File.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/Spawn.h"
#include "platform/base/TextFile.h"

namespace wb {

namespace {

const char* const kManifest = "wb-registry/mirrored.txt";
const char* const kMimeApps = "applications/mimeapps.list";

const Registry::Key* Sub(const Registry::Key& k, const std::string& name) {
    auto it = k.subkeys.find(FoldCase(name));
    return it == k.subkeys.end() ? nullptr : &it->second;
}

std::string DefaultValue(const Registry::Key& k) {
    auto it = k.values.find("");
    return it == k.values.end() ? std::string() : it->second.second;
}

// A name safe inside file names and MIME types.
std::string Slug(const std::string& s) {
    std::string out;
    for (char c : FoldCase(s)) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) out += c;
        else if (!out.empty() && out.back() != '-') out += '-';
    }
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out.empty() ? "x" : out;
}

// Menu texts carry '&' before their access key; "&&" is a real '&'.
std::string MenuText(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += s[i];
    }
    return out;
}

std::string XmlText(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

// A desktop-entry string value: no line breaks, backslashes doubled.
std::string EntryValue(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') continue;
        else out += c;
    }
    return out;
}

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

struct Verb {
    std::string name, text, command;
};

// The verbs of a "shell" key that have a command, the default one first.
std::vector<Verb> VerbsOf(const Registry::Key& owner) {
    std::vector<Verb> verbs;
    const Registry::Key* shell = Sub(owner, "shell");
    if (!shell) return verbs;
    std::string preferred = FoldCase(DefaultValue(*shell));
    for (const auto& [folded, verb] : shell->subkeys) {
        const Registry::Key* cmd = Sub(verb, "command");
        if (!cmd || DefaultValue(*cmd).empty()) continue;
        std::string text = DefaultValue(verb);
        Verb v{verb.name, MenuText(text.empty() ? verb.name : text), DefaultValue(*cmd)};
        if (folded == preferred) verbs.insert(verbs.begin(), v);
        else verbs.push_back(v);
    }
    return verbs;
}

void PlanFileType(const Registry::Key& root, const std::string& progId,
                  const std::vector<std::string>& extensions, std::vector<MirrorFile>& out) {
    const Registry::Key* type = Sub(root, progId);
    if (!type) return;
    std::string slug = Slug(progId);
    std::string mime = "application/x-wb-" + slug;
    std::string comment = DefaultValue(*type);
    if (comment.empty()) comment = progId;
    // DefaultIcon holds an icon file or a theme name; a MIME type names its
    // icon by theme name only, the file's own name without its extension.
    const Registry::Key* iconKey = Sub(*type, "DefaultIcon");
    std::string icon = iconKey ? DefaultValue(*iconKey) : std::string();
    std::string iconName = icon.substr(icon.find_last_of('/') + 1);
    iconName = iconName.substr(0, iconName.find_last_of('.'));

    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        << "  <mime-type type=\"" << mime << "\">\n"
        << "    <comment>" << XmlText(comment) << "</comment>\n";
    if (!iconName.empty()) xml << "    <icon name=\"" << XmlText(iconName) << "\"/>\n";
    for (const auto& ext : extensions) xml << "    <glob pattern=\"*" << XmlText(ext) << "\"/>\n";
    xml << "  </mime-type>\n</mime-info>\n";
    out.push_back({"mime/packages/wb-" + slug + ".xml", xml.str(), 0644});

    auto verbs = VerbsOf(*type);
    if (verbs.empty()) return;
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Name=" << EntryValue(verbs[0].text) << "\n"
          << "Comment=" << EntryValue(comment) << "\n"
          << "Exec=" << DesktopExec(verbs[0].command) << "\n";
    if (!icon.empty()) entry << "Icon=" << EntryValue(icon) << "\n";
    entry << "MimeType=" << mime << ";\n"
          << "NoDisplay=true\n"
          << "Terminal=false\n";
    out.push_back({"applications/wb-" + slug + ".desktop", entry.str(), 0644});
}

// A verb offered on files: all of them, or those of no known type.
void PlanFileVerb(const Verb& verb, bool unknownOnly, std::set<std::string>& scriptNames,
                  std::vector<MirrorFile>& out) {
    std::string slug = Slug(verb.name);
    std::ostringstream menu;
    menu << "[Desktop Entry]\n"
         << "Type=Service\n"
         << "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
         << "MimeType=" << (unknownOnly ? "application/octet-stream;" : "all/allfiles;") << "\n"
         << "Actions=" << slug << ";\n\n"
         << "[Desktop Action " << slug << "]\n"
         << "Name=" << EntryValue(verb.text) << "\n"
         << "Exec=" << DesktopExec(verb.command) << "\n";
    out.push_back({std::string("kio/servicemenus/wb-") + (unknownOnly ? "unknown-" : "all-") +
                       slug + ".desktop",
                   menu.str(), 0755});

    // Nautilus names a script's menu item after its file; one script per
    // text, the all-files verb taking precedence.
    std::string scriptName;
    for (char c : verb.text) scriptName += c == '/' ? '-' : c;
    if (!scriptNames.insert(scriptName).second) return;
    std::ostringstream sh;
    sh << "#!/bin/sh\n"
       << "# \"" << verb.text << "\" on "
       << (unknownOnly ? "files of no known type" : "every file")
       << "; kept in step with the workbench settings store.\n"
       << "for f in \"$@\"; do\n";
    if (unknownOnly) {
        sh << "  t=$(xdg-mime query filetype \"$f\" 2>/dev/null || file -b --mime-type \"$f\" "
              "2>/dev/null)\n"
           << "  [ \"$t\" = application/octet-stream ] || continue\n";
    }
    sh << " ";
    for (const auto& arg : SplitCommandLine(verb.command))
        sh << ' ' << (arg == "%1" ? std::string("\"$f\"") : ShellQuote(arg));
    sh << " &\ndone\n";
    out.push_back({"nautilus/scripts/" + scriptName, sh.str(), 0755});
}

bool RunQuietly(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv, SpawnOptions::Quiet());
    if (pid < 0) return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// Sets the default application of our types in mimeapps.list, keeping every
// other line of that shared file.
std::string MergeMimeApps(const std::string& old, const std::vector<std::pair<std::string, std::string>>& defaults) {
    std::vector<std::string> lines = Lines(old);
    std::vector<std::string> out;
    bool inDefaults = false, sawDefaults = false;
    // Our lines close the section, before the blank lines that part it from the next.
    auto emitOurs = [&] {
        size_t blanks = 0;
        while (blanks < out.size() && out[out.size() - 1 - blanks].empty()) ++blanks;
        auto at = out.end() - static_cast<long>(blanks);
        for (const auto& [mime, entry] : defaults) at = out.insert(at, mime + "=" + entry + ";") + 1;
    };
    for (const auto& line : lines) {
        if (!line.empty() && line[0] == '[') {
            if (inDefaults) emitOurs();
            inDefaults = line == "[Default Applications]";
            if (inDefaults) sawDefaults = true;
            out.push_back(line);
            continue;
        }
        // Our own lines are rewritten; a type that is gone loses its line.
        if (line.rfind("application/x-wb-", 0) == 0) continue;
        out.push_back(line);
    }
    if (inDefaults) emitOurs();
    if (!sawDefaults && !defaults.empty()) {
        if (!out.empty() && !out.back().empty()) out.push_back("");
        out.push_back("[Default Applications]");
        emitOurs();
    }
    std::string text;
    for (const auto& l : out) text += l + "\n";
    return text;
}

} // namespace

std::string DesktopExec(const std::string& commandLine) {
    std::string exec;
    for (const auto& arg : SplitCommandLine(commandLine)) {
        if (!exec.empty()) exec += ' ';
        if (arg == "%1") {
            exec += "%f";
            continue;
        }
        bool plain = !arg.empty();
        for (char c : arg)
            if (std::string(" \t\n\"'\\><~|&;$*?#()`=%").find(c) != std::string::npos) plain = false;
        if (plain) {
            exec += arg;
            continue;
        }
        std::string q = "\"";
        for (char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') q += '\\';
            if (c == '%') q += '%';
            q += c;
        }
        exec += q + "\"";
    }
    return EntryValue(exec);
}

DesktopMirror DesktopMirror::ForUser() { return DesktopMirror(wb::DataHome()); }

DesktopMirror::DesktopMirror(std::string dataHome) : dataHome_(std::move(dataHome)) {}

std::vector<MirrorFile> DesktopMirror::Plan(const Registry::Key& root) {
    std::vector<MirrorFile> out;
    // ProgId -> its extensions, from the ".ext" keys.
    std::map<std::string, std::pair<std::string, std::vector<std::string>>> types;
    for (const auto& [folded, key] : root.subkeys) {
        if (folded.size() < 2 || folded[0] != '.') continue;
        std::string progId = DefaultValue(key);
        if (progId.empty()) continue;
        auto& t = types[FoldCase(progId)];
        t.first = progId;
        t.second.push_back(key.name);
    }
    for (const auto& [folded, t] : types) PlanFileType(root, t.first, t.second, out);

    std::set<std::string> scriptNames;
    if (const Registry::Key* all = Sub(root, "*"))
        for (const auto& v : VerbsOf(*all)) PlanFileVerb(v, false, scriptNames, out);
    if (const Registry::Key* unknown = Sub(root, "Unknown"))
        for (const auto& v : VerbsOf(*unknown)) PlanFileVerb(v, true, scriptNames, out);
    return out;
}

void DesktopMirror::Sync(const Registry::Key& classesRoot) {
    auto planned = Plan(classesRoot);
    std::set<std::string> keep;
    bool mimeChanged = false, entriesChanged = false;
    auto note = [&](const std::string& rel) {
        if (rel.rfind("mime/", 0) == 0) mimeChanged = true;
        if (rel.rfind("applications/", 0) == 0) entriesChanged = true;
    };

    for (const auto& f : planned) {
        keep.insert(f.path);
        std::string full = dataHome_ + "/" + f.path;
        auto old = ReadWholeFile(full);
        if (old && *old == f.content) continue;
        MakeFolders(full.substr(0, full.find_last_of('/')));
        WriteFileReplacing(full, f.content, f.mode);
        note(f.path);
    }

    std::string manifestPath = dataHome_ + "/" + kManifest;
    for (const auto& rel : Lines(ReadWholeFile(manifestPath).value_or(""))) {
        if (rel.empty() || keep.count(rel) || rel.find("..") != std::string::npos) continue;
        std::string full = dataHome_ + "/" + rel;
        if (::unlink(full.c_str()) == 0) note(rel);
    }
    std::string manifest;
    for (const auto& rel : keep) manifest += rel + "\n";
    MakeFolders(manifestPath.substr(0, manifestPath.find_last_of('/')));
    WriteFileReplacing(manifestPath, manifest);

    std::vector<std::pair<std::string, std::string>> defaults;
    for (const auto& f : planned) {
        if (f.path.rfind("applications/wb-", 0) != 0) continue;
        std::string entry = f.path.substr(std::string("applications/").size());
        std::string slug = entry.substr(3, entry.size() - 3 - std::string(".desktop").size());
        defaults.emplace_back("application/x-wb-" + slug, entry);
    }
    std::string mimeAppsPath = dataHome_ + "/" + kMimeApps;
    auto oldApps = ReadWholeFile(mimeAppsPath);
    if (oldApps || !defaults.empty()) {
        std::string merged = MergeMimeApps(oldApps.value_or(""), defaults);
        if (!oldApps || merged != *oldApps) {
            MakeFolders(mimeAppsPath.substr(0, mimeAppsPath.find_last_of('/')));
            WriteFileReplacing(mimeAppsPath, merged);
        }
    }

    // The databases are a cache of the files above; without the tools the
    // files are still right and the desktop's next refresh reads them.
    if (mimeChanged) RunQuietly({"update-mime-database", dataHome_ + "/mime"});
    if (entriesChanged) RunQuietly({"update-desktop-database", dataHome_ + "/applications"});
}

} // namespace wb
