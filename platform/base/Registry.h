#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wb {

// A stand-in for the settings registry the programs were designed for: a
// tree of keys with string values, kept in one text file under the user's
// config folder. Key and value names compare without regard to case and
// keep the case they were created with. Paths use '\' between key names, as
// the programs write them ("brkfile\shell\join\command").
//
// Every call reads the file afresh and every change writes it back whole
// (through a temporary file), so several stores on one file agree.
enum class RegRoot { ClassesRoot, CurrentUser };

class Registry {
public:
    // The user's own store: $XDG_CONFIG_HOME/wb-registry/registry.txt, with
    // the classes root mirrored into the freedesktop desktop (DesktopMirror).
    static Registry User();

    // A store in the named file; mirroring is off unless switched on.
    explicit Registry(std::string storeFile);

    void SetMirrorDesktop(bool on) { mirror_ = on; }
    const std::string& StoreFile() const { return file_; }

    // Creates the key and its parents; an empty value name sets the key's
    // default value. Throws IoError when the store cannot be written.
    void SetString(RegRoot root, const std::string& key, const std::string& valueName,
                   const std::string& data);
    void CreateKey(RegRoot root, const std::string& key);
    std::optional<std::string> GetString(RegRoot root, const std::string& key,
                                         const std::string& valueName) const;
    bool KeyExists(RegRoot root, const std::string& key) const;
    // Removes the key with every key below it; false when there was none.
    bool DeleteKey(RegRoot root, const std::string& key);
    bool DeleteValue(RegRoot root, const std::string& key, const std::string& valueName);
    // Names of the keys directly below a key, in their stored case.
    std::vector<std::string> SubKeys(RegRoot root, const std::string& key) const;
    // Value names of a key ("" is the default value).
    std::vector<std::string> ValueNames(RegRoot root, const std::string& key) const;

    // The store's content as a tree, for the desktop mirror.
    struct Key {
        std::string name;  // stored case
        std::map<std::string, std::pair<std::string, std::string>> values;  // folded name -> (name, data)
        std::map<std::string, Key> subkeys;                                  // folded name -> key
    };
    struct Tree {
        Key classesRoot, currentUser;
    };
    Tree Load() const;

private:
    void Save(const Tree& tree, bool classesRootChanged);

    std::string file_;
    bool mirror_ = false;
};

// Splits "a\b\\c" into its key names, dropping empty ones.
std::vector<std::string> SplitKeyPath(const std::string& key);
// ASCII case folding, the comparison key of key and value names.
std::string FoldCase(const std::string& s);

} // namespace wb
