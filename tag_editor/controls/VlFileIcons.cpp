#include "tag_editor/controls/VlFileIcons.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

#include <map>

#include "tag_editor/controls/VlFsRules.h"

namespace velmora {

namespace {

QIcon StandardIcon(QStyle::StandardPixmap sp) { return QApplication::style()->standardIcon(sp); }

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    QIcon i = QIcon::fromTheme(name);
    return i.isNull() ? StandardIcon(fallback) : i;
}

// Icons by lower-case extension, shared by every list; emptied when the
// application goes, while the icon engines still exist.
std::map<std::string, QIcon>* g_iconCache = nullptr;

std::map<std::string, QIcon>& IconCache() {
    if (!g_iconCache) {
        g_iconCache = new std::map<std::string, QIcon>;
        qAddPostRoutine([] {
            delete g_iconCache;
            g_iconCache = nullptr;
        });
    }
    return *g_iconCache;
}

} // namespace

QIcon DesktopIcon(const std::string& path, bool isDir, bool open) {
    if (isDir)
        return ThemeIcon(open ? "folder-open" : "folder", open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
    static QMimeDatabase db;
    QMimeType type = db.mimeTypeForFile(QString::fromStdString(path), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull()) icon = StandardIcon(QStyle::SP_FileIcon);
    return icon;
}

QIcon DriveIcon(wb::VolumeKind kind) {
    switch (kind) {
        case wb::VolumeKind::Removable: return ThemeIcon("drive-removable-media", QStyle::SP_DriveFDIcon);
        case wb::VolumeKind::CDROM: return ThemeIcon("drive-optical", QStyle::SP_DriveCDIcon);
        case wb::VolumeKind::Remote: return ThemeIcon("folder-remote", QStyle::SP_DriveNetIcon);
        default: return ThemeIcon("drive-harddisk", QStyle::SP_DriveHDIcon);
    }
}

QIcon CachedFileIcon(const std::string& path, const std::string& name) {
    const std::string ext = LowerExtension(name);
    if (PerFileIconExtension(ext)) return DesktopIcon(path, false, false);
    auto& cache = IconCache();
    auto hit = cache.find(ext);
    if (hit != cache.end()) return hit->second;
    QIcon icon = DesktopIcon(path, false, false);
    cache.emplace(ext, icon);
    return icon;
}

int CachedIconCount() { return g_iconCache ? int(g_iconCache->size()) : 0; }

} // namespace velmora
