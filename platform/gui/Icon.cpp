#include "platform/gui/Icon.h"

#include <QApplication>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QStyle>

#include "platform/gui/Canvas.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

struct Icon::Data {
    QIcon icon;
};

Icon::Icon() = default;
Icon::~Icon() = default;
Icon::Icon(const Icon&) = default;
Icon& Icon::operator=(const Icon&) = default;

bool Icon::IsNull() const { return !data_ || data_->icon.isNull(); }

void Icon::Draw(Canvas& canvas, const Rect& r, bool selected) const {
    if (IsNull() || !canvas.Painter()) return;
    data_->icon.paint(canvas.Painter(), QRect(r.left, r.top, r.Width(), r.Height()), Qt::AlignCenter,
                      selected ? QIcon::Selected : QIcon::Normal);
}

QIcon IconAccess::ToQIcon(const Icon& icon) { return icon.data_ ? icon.data_->icon : QIcon(); }

Icon IconAccess::FromQIcon(const QIcon& qicon) {
    Icon icon;
    if (!qicon.isNull()) icon.data_ = std::make_shared<const Icon::Data>(Icon::Data{qicon});
    return icon;
}

namespace {

QIcon StandardIcon(QStyle::StandardPixmap sp) { return QApplication::style()->standardIcon(sp); }

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    QIcon i = QIcon::fromTheme(name);
    return i.isNull() ? StandardIcon(fallback) : i;
}

} // namespace

Icon Icon::ForFile(const std::string& path, bool isDir, bool open) {
    EnsureGuiApplication();
    if (isDir)
        return IconAccess::FromQIcon(
            ThemeIcon(open ? "folder-open" : "folder", open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    static QMimeDatabase db;
    QMimeType type = db.mimeTypeForFile(QString::fromStdString(path), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull()) icon = StandardIcon(QStyle::SP_FileIcon);
    return IconAccess::FromQIcon(icon);
}

Icon Icon::ForVolume(VolumeKind kind) {
    EnsureGuiApplication();
    switch (kind) {
        case VolumeKind::Removable: return IconAccess::FromQIcon(ThemeIcon("drive-removable-media", QStyle::SP_DriveFDIcon));
        case VolumeKind::CDROM: return IconAccess::FromQIcon(ThemeIcon("drive-optical", QStyle::SP_DriveCDIcon));
        case VolumeKind::Remote: return IconAccess::FromQIcon(ThemeIcon("folder-remote", QStyle::SP_DriveNetIcon));
        default: return IconAccess::FromQIcon(ThemeIcon("drive-harddisk", QStyle::SP_DriveHDIcon));
    }
}

} // namespace wb::gui
