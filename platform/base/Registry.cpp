#include "platform/base/Registry.h"

#include <sstream>

#include "platform/base/DesktopMirror.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/TextFile.h"

namespace wb {

namespace {

const char* const kClassesRoot = "HKEY_CLASSES_ROOT";
const char* const kCurrentUser = "HKEY_CURRENT_USER";

// Key names hold no '\'; the few characters that would break a section
// header are written as %XX.
std::string EncodeName(const std::string& s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (c == '%' || c == '[' || c == ']' || c == '\n' || c == '\r') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string DecodeName(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

// Reads a quoted string at s[pos]; pos ends after the closing quote.
bool Unquote(const std::string& s, size_t& pos, std::string& out) {
    if (pos >= s.size() || s[pos] != '"') return false;
    out.clear();
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < s.size()) {
            char e = s[++pos];
            out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
        } else {
            out += c;
        }
    }
    return false;
}

Registry::Key* Find(Registry::Key& root, const std::vector<std::string>& path) {
    Registry::Key* k = &root;
    for (const auto& name : path) {
        auto it = k->subkeys.find(FoldCase(name));
        if (it == k->subkeys.end()) return nullptr;
        k = &it->second;
    }
    return k;
}

Registry::Key& Create(Registry::Key& root, const std::vector<std::string>& path) {
    Registry::Key* k = &root;
    for (const auto& name : path) {
        Registry::Key& sub = k->subkeys[FoldCase(name)];
        if (sub.name.empty()) sub.name = name;
        k = &sub;
    }
    return *k;
}

Registry::Key& RootOf(Registry::Tree& t, RegRoot root) {
    return root == RegRoot::ClassesRoot ? t.classesRoot : t.currentUser;
}

void Write(std::ostringstream& out, const Registry::Key& key, const std::string& path) {
    out << '[' << path << "]\n";
    for (const auto& [folded, nv] : key.values) {
        (void)folded;
        out << (nv.first.empty() ? std::string("@") : Quote(nv.first)) << '=' << Quote(nv.second)
            << '\n';
    }
    out << '\n';
    for (const auto& [folded, sub] : key.subkeys) {
        (void)folded;
        Write(out, sub, path + "\\" + EncodeName(sub.name));
    }
}

} // namespace

std::string FoldCase(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::vector<std::string> SplitKeyPath(const std::string& key) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : key) {
        if (c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

Registry Registry::User() {
    Registry r(ConfigHome() + "/wb-registry/registry.txt");
    r.SetMirrorDesktop(true);
    return r;
}

Registry::Registry(std::string storeFile) : file_(std::move(storeFile)) {}

Registry::Tree Registry::Load() const {
    Tree tree;
    auto text = ReadWholeFile(file_);
    if (!text) return tree;
    std::istringstream in(*text);
    std::string line;
    Key* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            auto close = line.rfind(']');
            std::string path = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            std::vector<std::string> names;
            for (const auto& part : SplitKeyPath(path)) names.push_back(DecodeName(part));
            current = nullptr;
            if (names.empty()) continue;
            Key* root = names[0] == kClassesRoot ? &tree.classesRoot
                        : names[0] == kCurrentUser ? &tree.currentUser
                                                   : nullptr;
            if (!root) continue;
            names.erase(names.begin());
            current = &Create(*root, names);
            continue;
        }
        if (!current) continue;
        std::string name, data;
        size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (!Unquote(line, pos, name)) {
            continue;
        }
        if (pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        if (!Unquote(line, pos, data)) continue;
        current->values[FoldCase(name)] = {name, data};
    }
    return tree;
}

void Registry::Save(const Tree& tree, bool classesRootChanged) {
    std::ostringstream out;
    out << "# Settings store of the workbench programs; keys compare without regard to case.\n\n";
    Write(out, tree.classesRoot, kClassesRoot);
    Write(out, tree.currentUser, kCurrentUser);
    auto slash = file_.find_last_of('/');
    if (slash != std::string::npos) MakeFolders(file_.substr(0, slash));
    WriteFileReplacing(file_, out.str(), 0600);
    if (mirror_ && classesRootChanged) DesktopMirror::ForUser().Sync(tree.classesRoot);
}

void Registry::SetString(RegRoot root, const std::string& key, const std::string& valueName,
                         const std::string& data) {
    Tree t = Load();
    Key& k = Create(RootOf(t, root), SplitKeyPath(key));
    k.values[FoldCase(valueName)] = {valueName, data};
    Save(t, root == RegRoot::ClassesRoot);
}

void Registry::CreateKey(RegRoot root, const std::string& key) {
    Tree t = Load();
    Create(RootOf(t, root), SplitKeyPath(key));
    Save(t, root == RegRoot::ClassesRoot);
}

std::optional<std::string> Registry::GetString(RegRoot root, const std::string& key,
                                               const std::string& valueName) const {
    Tree t = Load();
    const Key* k = Find(RootOf(t, root), SplitKeyPath(key));
    if (!k) return std::nullopt;
    auto it = k->values.find(FoldCase(valueName));
    if (it == k->values.end()) return std::nullopt;
    return it->second.second;
}

bool Registry::KeyExists(RegRoot root, const std::string& key) const {
    Tree t = Load();
    return Find(RootOf(t, root), SplitKeyPath(key)) != nullptr;
}

bool Registry::DeleteKey(RegRoot root, const std::string& key) {
    auto path = SplitKeyPath(key);
    if (path.empty()) return false;  // a root is never deleted
    Tree t = Load();
    std::string last = FoldCase(path.back());
    path.pop_back();
    Key* parent = Find(RootOf(t, root), path);
    if (!parent || parent->subkeys.erase(last) == 0) return false;
    Save(t, root == RegRoot::ClassesRoot);
    return true;
}

bool Registry::DeleteValue(RegRoot root, const std::string& key, const std::string& valueName) {
    Tree t = Load();
    Key* k = Find(RootOf(t, root), SplitKeyPath(key));
    if (!k || k->values.erase(FoldCase(valueName)) == 0) return false;
    Save(t, root == RegRoot::ClassesRoot);
    return true;
}

std::vector<std::string> Registry::SubKeys(RegRoot root, const std::string& key) const {
    Tree t = Load();
    std::vector<std::string> names;
    if (const Key* k = Find(RootOf(t, root), SplitKeyPath(key)))
        for (const auto& [folded, sub] : k->subkeys) names.push_back(sub.name);
    return names;
}

std::vector<std::string> Registry::ValueNames(RegRoot root, const std::string& key) const {
    Tree t = Load();
    std::vector<std::string> names;
    if (const Key* k = Find(RootOf(t, root), SplitKeyPath(key)))
        for (const auto& [folded, nv] : k->values) names.push_back(nv.first);
    return names;
}

} // namespace wb
