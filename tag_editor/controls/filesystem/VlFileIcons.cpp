#include "tag_editor/controls/filesystem/VlFileIcons.h"

#include <map>

#include "tag_editor/controls/filesystem/VlFsRules.h"

namespace velmora {

using wb::gui::Icon;

namespace {

// Icons by lower-case extension, shared by every list. Never freed: the
// pictures must not go after the application that draws them.
std::map<std::string, Icon>& IconCache() {
    static auto* cache = new std::map<std::string, Icon>;
    return *cache;
}

} // namespace

Icon CachedFileIcon(const std::string& path, const std::string& name) {
    const std::string ext = LowerExtension(name);
    if (PerFileIconExtension(ext)) return Icon::ForFile(path, false, false);
    auto& cache = IconCache();
    auto hit = cache.find(ext);
    if (hit != cache.end()) return hit->second;
    Icon icon = Icon::ForFile(path, false, false);
    cache.emplace(ext, icon);
    return icon;
}

int CachedIconCount() { return int(IconCache().size()); }

} // namespace velmora
