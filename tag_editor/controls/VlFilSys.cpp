#include "tag_editor/controls/VlFilSys.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFocusEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPainter>
#include <QScrollBar>
#include <QSocketNotifier>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QUrl>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/base/File.h"
#include "tag_editor/controls/VlLFName.h"

namespace fs = std::filesystem;
using namespace wb::gui;

// ---------------------------------------------------------------------------
// Shared helpers

namespace {

std::string WithSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}

std::string WithoutSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string LowerExt(const std::string& name) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return QString::fromStdString(name.substr(dot)).toLower().toStdString();
}

bool PerFileIconExt(const std::string& ext) {
    return ext == ".exe" || ext == ".lnk" || ext == ".ico" || ext == ".scr";
}

QIcon StandardIcon(QStyle::StandardPixmap sp) { return QApplication::style()->standardIcon(sp); }

// The desktop's icon of a file or folder, from the icon theme by MIME type,
// falling back to the style's own when the theme has none.
QIcon DesktopIcon(const std::string& path, bool isDir, bool open) {
    if (isDir) {
        QIcon icon = QIcon::fromTheme(open ? "folder-open" : "folder");
        if (icon.isNull()) icon = StandardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
        return icon;
    }
    static QMimeDatabase db;
    QMimeType type = db.mimeTypeForFile(QString::fromStdString(path), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull()) icon = StandardIcon(QStyle::SP_FileIcon);
    return icon;
}

QIcon DriveIcon(wb::VolumeKind kind) {
    switch (kind) {
        case wb::VolumeKind::Removable: {
            QIcon i = QIcon::fromTheme("drive-removable-media");
            return i.isNull() ? StandardIcon(QStyle::SP_DriveFDIcon) : i;
        }
        case wb::VolumeKind::CDROM: {
            QIcon i = QIcon::fromTheme("drive-optical");
            return i.isNull() ? StandardIcon(QStyle::SP_DriveCDIcon) : i;
        }
        case wb::VolumeKind::Remote: {
            QIcon i = QIcon::fromTheme("folder-remote");
            return i.isNull() ? StandardIcon(QStyle::SP_DriveNetIcon) : i;
        }
        default: {
            QIcon i = QIcon::fromTheme("drive-harddisk");
            return i.isNull() ? StandardIcon(QStyle::SP_DriveHDIcon) : i;
        }
    }
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

TFont FontOf(const QFont& f) {
    TFont t;
    t.Name = f.family().toStdString();
    int px = f.pixelSize();
    if (px <= 0) px = qRound(f.pointSizeF() * 96.0 / 72.0);
    t.Height = -std::max(1, px);
    t.Style = (f.bold() ? unsigned(fsBold) : 0u) | (f.italic() ? unsigned(fsItalic) : 0u) |
              (f.underline() ? unsigned(fsUnderline) : 0u) | (f.strikeOut() ? unsigned(fsStrikeOut) : 0u);
    return t;
}

QColor QCol(TColor c) { return QColor::fromRgb(ToQRgb(c)); }

uint32_t PackedTime(const fs::path& p) {
    std::error_code ec;
    auto ft = fs::last_write_time(p, ec);
    if (ec) return 0;
    auto sys = std::chrono::file_clock::to_sys(ft);
    std::time_t t = std::chrono::system_clock::to_time_t(sys);
    std::tm tm{};
    localtime_r(&t, &tm);
    if (tm.tm_year < 80) return 0;
    return (uint32_t(tm.tm_year - 80) << 25) | (uint32_t(tm.tm_mon + 1) << 21) |
           (uint32_t(tm.tm_mday) << 16) | (uint32_t(tm.tm_hour) << 11) | (uint32_t(tm.tm_min) << 5) |
           uint32_t(tm.tm_sec / 2);
}

int CaseInsensitiveCompare(const std::string& a, const std::string& b) {
    QString qa = QString::fromStdString(a).toCaseFolded(), qb = QString::fromStdString(b).toCaseFolded();
    return QString::localeAwareCompare(qa, qb);
}

bool MatchFrom(const QString& n, int i, const QString& p, int j) {
    while (j < p.size()) {
        if (p[j] == '*') {
            while (j < p.size() && p[j] == '*') ++j;
            if (j == p.size()) return true;
            for (int k = i; k <= n.size(); ++k)
                if (MatchFrom(n, k, p, j)) return true;
            return false;
        }
        if (i >= n.size()) return false;
        if (p[j] != '?' && p[j] != n[i]) return false;
        ++i;
        ++j;
    }
    return i == n.size();
}

} // namespace

TDriveType DriveTypeOf(wb::VolumeKind kind) {
    switch (kind) {
        case wb::VolumeKind::Unknown: return dtUnknown;
        case wb::VolumeKind::NoRoot: return dtNoDrive;
        case wb::VolumeKind::Removable: return dtFloppy;
        case wb::VolumeKind::Fixed: return dtFixed;
        case wb::VolumeKind::Remote: return dtNetwork;
        case wb::VolumeKind::CDROM: return dtCDROM;
        case wb::VolumeKind::RAM: return dtRAM;
    }
    return dtUnknown;
}

bool MatchesMask(const std::string& name, const std::string& pattern) {
    if (pattern == "*.*" || pattern == "*") return true;
    return MatchFrom(QString::fromStdString(name).toCaseFolded(), 0,
                     QString::fromStdString(pattern).toCaseFolded(), 0);
}

std::function<void(const std::string&)> TVlShell::ShowInfo = [](const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(),
                             QString::fromStdString(text), QMessageBox::Ok);
};
std::function<void(const std::string&)> TVlShell::ShowError = [](const std::string& text) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(text), QMessageBox::Ok);
};
std::function<bool(const std::string&)> TVlShell::Open = [](const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
};

// ---------------------------------------------------------------------------
// TVlFileListBox

class TVlFileItemDelegate : public QStyledItemDelegate {
public:
    explicit TVlFileItemDelegate(TVlFileListBox* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width() > 0 ? option.rect.width() : 100, list_->itemHeight_};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int row = index.row();
        const bool selected = option.state & QStyle::State_Selected;
        Rect r{option.rect.left(), option.rect.top(), option.rect.right() + 1, option.rect.bottom() + 1};
        if (list_->showGlyphs_) r.left += 24;
        Canvas c(*painter);
        c.Font() = FontOf(list_->font());
        c.Brush() = {selected ? clHighlight : list_->color_, BrushStyle::Solid};
        c.Font().Color = selected ? clHighlightText : clWindowText;
        const std::string text = index.data().toString().toStdString();
        const int textTop = r.top + (r.Height() - c.TextHeight("Pp")) / 2;
        c.TextRect(r, r.left + 2, textTop, text);
        if (!list_->showGlyphs_ || row < 0 || row >= int(list_->infos_.size())) return;
        const TVlFileInfo& info = *list_->infos_[size_t(row)];
        QIcon icon = info.Icon;
        if (selected) {
            std::string dir = list_->directory_;
            std::string path = (dir.empty() || dir.back() == '/' ? dir : dir + "/") + info.Name;
            icon = DesktopIcon(path, info.IsDirectory, info.IsDirectory);
        }
        if (!icon.isNull())
            icon.paint(painter, QRect(r.left - 20, textTop - 1, 16, 16), Qt::AlignCenter,
                       selected ? QIcon::Selected : QIcon::Normal);
    }

private:
    TVlFileListBox* list_;
};

TVlFileListBox::TVlFileListBox(QWidget* parent) : QListWidget(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    setMouseTracking(true);
    setItemDelegate(new TVlFileItemDelegate(this));
    std::error_code ec;
    directory_ = fs::current_path(ec).string();
    SetColor(clWindow);
    UpdateItemHeight();
}

TVlFileListBox::~TVlFileListBox() {
    if (dirTree_ && dirTree_->fileList_ == this) dirTree_->fileList_ = nullptr;
    if (dirList_ && dirList_->fileList_ == this) dirList_->fileList_ = nullptr;
    FreeFileInfos();
}

int TVlFileListBox::CachedIconCount() { return g_iconCache ? int(g_iconCache->size()) : 0; }

void TVlFileListBox::UpdateItemHeight() {
    int h = GetTextLineHeight(FontOf(font())) - 3;
    if (showGlyphs_) h = std::max(h, 18);
    itemHeight_ = h;
    doItemsLayout();
}

void TVlFileListBox::SetMask(const std::string& mask) {
    if (mask == mask_) return;
    mask_ = mask;
    if (readOnce_) ReadFileNames();
}

void TVlFileListBox::SetFileType(TFileType t) {
    if (t == fileType_) return;
    fileType_ = t;
    if (readOnce_) ReadFileNames();
}

void TVlFileListBox::SetShowGlyphs(bool v) {
    if (v == showGlyphs_) return;
    showGlyphs_ = v;
    UpdateItemHeight();
    if (v && readOnce_) ReadFileNames();
    viewport()->update();
}

void TVlFileListBox::SetShowLongNames(bool v) {
    if (v == showLongNames_) return;
    showLongNames_ = v;
    if (readOnce_) ReadFileNames();
}

void TVlFileListBox::SetColor(TColor c) {
    color_ = c;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, QCol(c));
    setPalette(pal);
    if (FrameVisible()) RepaintFrame();
}

std::string TVlFileListBox::FileName() const {
    int row = currentRow();
    if (row < 0) return {};
    return WithSlash(directory_) + item(row)->text().toStdString();
}

std::vector<std::string> TVlFileListBox::ItemTexts() const {
    std::vector<std::string> out;
    for (int i = 0; i < count(); ++i) out.push_back(item(i)->text().toStdString());
    return out;
}

void TVlFileListBox::FreeFileInfos() { infos_.clear(); }

int TVlFileListBox::CompareFileInfos(const TVlFileInfo& a, const TVlFileInfo& b) const {
    if (a.IsDirectory == b.IsDirectory) return CaseInsensitiveCompare(a.Name, b.Name);
    return a.IsDirectory ? -1 : 1;
}

void TVlFileListBox::Exchange(int i, int j) {
    if (i == j) return;
    std::swap(infos_[size_t(i)], infos_[size_t(j)]);
    QString t = item(i)->text();
    item(i)->setText(item(j)->text());
    item(j)->setText(t);
}

void TVlFileListBox::SortFileInfos(int l, int r) {
    int i, j;
    do {
        i = l;
        j = r;
        const TVlFileInfo* pivot = infos_[size_t((l + r) >> 1)].get();
        do {
            while (CompareFileInfos(*infos_[size_t(i)], *pivot) < 0) ++i;
            while (CompareFileInfos(*infos_[size_t(j)], *pivot) > 0) --j;
            if (i <= j) {
                Exchange(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j) SortFileInfos(l, j);
        l = i;
    } while (i < r);
}

void TVlFileListBox::Change() {
    if (OnChange) OnChange(this);
}

void TVlFileListBox::ReadFileNames() {
    reading_ = true;
    readOnce_ = true;
    uint32_t attrMask = 0;
    const std::pair<TFileAttr, uint32_t> bits[] = {{ftReadOnly, faReadOnly}, {ftHidden, faHidden},
                                                  {ftSystem, faSysFile},     {ftVolumeID, faVolumeID},
                                                  {ftDirectory, faDirectory}, {ftArchive, faArchive}};
    for (auto [ft, fa] : bits)
        if (fileType_.Has(ft)) attrMask |= fa;

    std::error_code ec;
    fs::current_path(directory_, ec);
    FreeFileInfos();
    clear();

    struct Entry {
        std::string name;
        uint32_t attr;
        fs::path path;
    };
    std::vector<Entry> entries;
    for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        Entry e{it->path().filename().string(), 0, it->path()};
        std::error_code sec;
        fs::file_status st = fs::status(e.path, sec);
        if (fs::is_directory(st)) e.attr |= faDirectory;
        else if (!fs::is_regular_file(st)) e.attr |= faSysFile;
        if (!e.name.empty() && e.name[0] == '.') e.attr |= faHidden;
        if (wb::IsReadOnlyFile(e.path.string())) e.attr |= faReadOnly;
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });

    const bool busyCursorPossible = QApplication::instance() != nullptr;
    bool busy = false;
    std::set<std::string> listed;  // a name matching two patterns is listed once
    std::string masks = mask_;
    size_t start = 0;
    while (start <= masks.size()) {
        size_t semi = masks.find(';', start);
        std::string pattern = masks.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
        start = semi == std::string::npos ? masks.size() + 1 : semi + 1;
        if (pattern.empty()) continue;
        for (const Entry& e : entries) {
            if (e.attr & (faHidden | faSysFile | faVolumeID | faDirectory) & ~attrMask) continue;
            if (!fileType_.Has(ftNormal) && !(e.attr & attrMask)) continue;
            if (!MatchesMask(e.name, pattern) || listed.count(e.name)) continue;
            listed.insert(e.name);
            auto info = std::make_unique<TVlFileInfo>();
            info->Name = e.name;
            info->Attr = e.attr;
            info->Time = PackedTime(e.path);
            std::error_code sec;
            info->Size = (e.attr & faDirectory) ? 0 : int64_t(fs::file_size(e.path, sec));
            if (sec) info->Size = 0;
            info->IsDirectory = e.attr & faDirectory;
            if (showGlyphs_) {
                if (info->IsDirectory) {
                    info->Icon = DesktopIcon(e.path.string(), true, false);
                } else {
                    std::string ext = LowerExt(e.name);
                    auto& cache = IconCache();
                    auto hit = cache.find(ext);
                    if (!PerFileIconExt(ext) && hit != cache.end()) {
                        info->Icon = hit->second;
                    } else {
                        info->Icon = DesktopIcon(e.path.string(), false, false);
                        if (!PerFileIconExt(ext)) cache.emplace(ext, info->Icon);
                    }
                }
            }
            addItem(QString::fromStdString(e.name));
            infos_.push_back(std::move(info));
            if (count() - 1 == 100 && busyCursorPossible && !busy) {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                busy = true;
            }
        }
    }
    if (count() > 1) {
        setUpdatesEnabled(false);
        SortFileInfos(0, count() - 1);
        setUpdatesEnabled(true);
    }
    if (busy) QApplication::restoreOverrideCursor();
    Change();
    reading_ = false;
}

void TVlFileListBox::ChangeDirectory(const std::string& newDirectory) {
    // Names differing only in case are different folders here.
    if (readOnce_ && newDirectory == directory_) return;
    std::error_code ec;
    fs::current_path(WithSlash(newDirectory), ec);
    if (ec) {
        // A folder that cannot be entered shows nothing, not the old files.
        FreeFileInfos();
        clear();
        readOnce_ = true;
        Change();
        return;
    }
    directory_ = fs::current_path(ec).string();
    ReadFileNames();
}

void TVlFileListBox::SelectByName(const std::string& name) {
    QString q = QString::fromStdString(name);
    for (int i = 0; i < count(); ++i)
        if (item(i)->text() == q) {
            setCurrentRow(i);
            return;
        }
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().compare(q, Qt::CaseInsensitive) == 0) {
            setCurrentRow(i);
            return;
        }
    setCurrentRow(-1);
}

void TVlFileListBox::SetPath(const std::string& editText) {
    if (editText.empty() || editText == FileName()) return;
    std::error_code ec;
    std::string abs = editText[0] == '/' ? editText : WithSlash(fs::current_path(ec).string()) + editText;
    std::string dirPart, filePart;
    if (wb::DirectoryExists(abs)) {
        dirPart = abs;
    } else {
        size_t slash = abs.rfind('/');
        dirPart = slash == 0 ? "/" : abs.substr(0, slash);
        filePart = abs.substr(slash + 1);
    }
    dirPart = WithoutSlash(fs::path(dirPart).lexically_normal().string());

    if (dirList_) dirList_->SetDirectory(dirPart);
    if (dirTree_)
        dirTree_->SetDirectory(dirPart);
    else if (!dirList_)
        ChangeDirectory(dirPart);

    if (filePart.find_first_of("*?") != std::string::npos) {
        SetMask(filePart);
    } else if (!filePart.empty()) {
        int row = currentRow();
        std::string selected = row >= 0 ? item(row)->text().toStdString() : std::string();
        if (filePart != selected) {
            SelectByName(filePart);
            Change();
            if (!fs::exists(WithSlash(dirPart) + filePart, ec))
                throw EInOutError("The " + editText + " file does not exist");
            if (currentRow() < 0) {
                SetMask(filePart);
                SelectByName(filePart);
            }
        }
    }
}

std::string TVlFileListBox::GetLongFileName() const { return MakeLongPath(FileName()); }
std::string TVlFileListBox::GetShortFileName() const { return MakeShortPath(FileName()); }

void TVlFileListBox::DblClick() {
    int row = currentRow();
    if (row < 0) return;
    std::string text = item(row)->text().toStdString();
    std::string full = WithSlash(directory_) + text;
    if (wb::DirectoryExists(full)) {
        // The item's own text, taken against the folder listed (the current one).
        std::error_code ec;
        std::filesystem::current_path(directory_, ec);
        setUpdatesEnabled(false);
        SetPath(text);
        setUpdatesEnabled(true);
    } else if (AllowOpen) {
        if (!TVlShell::Open(full)) TVlShell::ShowInfo("Could not open file.");
    }
}

void TVlFileListBox::RepaintFrame() {
    if (reading_) return;
    update();
    if (isVisible()) repaint();
}

void TVlFileListBox::FrameVisibleChanged() { RepaintFrame(); }

bool TVlFileListBox::event(QEvent* e) {
    bool r = QListWidget::event(e);
    FrameEvent(this, e, color_, true);
    return r;
}

void TVlFileListBox::focusInEvent(QFocusEvent* e) {
    UpdateFrame(false, true);
    QListWidget::focusInEvent(e);
}

void TVlFileListBox::focusOutEvent(QFocusEvent* e) {
    QListWidget::focusOutEvent(e);
    UpdateFrame(false, false);
}

void TVlFileListBox::resizeEvent(QResizeEvent* e) {
    QListWidget::resizeEvent(e);
    if (FrameVisible()) RepaintFrame();
}

void TVlFileListBox::wheelEvent(QWheelEvent* e) { VlWheelScroll(verticalScrollBar(), e); }

void TVlFileListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QListWidget::mouseDoubleClickEvent(e);
    if (OnDblClick) OnDblClick(this);
    DblClick();
}

void TVlFileListBox::changeEvent(QEvent* e) {
    QListWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange) UpdateItemHeight();
}

void TVlFileListBox::showEvent(QShowEvent* e) {
    QListWidget::showEvent(e);
    if (!readOnce_) ReadFileNames();
}

// ---------------------------------------------------------------------------
// TVlDriveComboBox

TVlDriveComboBox::TVlDriveComboBox(QWidget* parent) : QComboBox(parent) {
    setIconSize(QSize(16, 13));
    setMouseTracking(true);
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int) {
        if (filling_) return;
        if (dirList_ && !Drive().empty()) dirList_->SetDirectory(Drive());
        if (OnChange) OnChange(this);
    });
    FillDriveList();
}

TVlDriveComboBox::~TVlDriveComboBox() = default;

std::string TVlDriveComboBox::VolumeLabel(const std::string& root) {
    auto info = wb::Volumes()->Info(root);
    if (!info || info->label.empty()) return {};
    std::string label = QString::fromStdString(info->label).toLower().toStdString();
    if (label[0] >= 'a' && label[0] <= 'z') label[0] = char(label[0] - 'a' + 'A');
    return label;
}

std::string TVlDriveComboBox::NetworkName(const std::string& root) {
    std::string remote = wb::Volumes()->RemoteName(root);
    return remote.empty() ? VolumeLabel(root) : remote;
}

void TVlDriveComboBox::FillDriveList() {
    filling_ = true;
    std::string previous = Drive();
    clear();
    for (const wb::Volume& v : wb::Volumes()->List()) {
        int code = int(v.kind);
        if (code < 2 || code > 6 || !driveTypes_.Has(DriveTypeOf(v.kind))) continue;
        const std::string name = wb::DriveName(v.root);
        std::string text;
        switch (v.kind) {
            case wb::VolumeKind::Removable: text = name + ":"; break;  // the medium is not touched
            case wb::VolumeKind::Remote: text = name + ": " + NetworkName(v.root); break;
            default: text = name + ": " + VolumeLabel(v.root); break;
        }
        addItem(DriveIcon(v.kind), QString::fromStdString(text), QString::fromStdString(v.root));
    }
    int keep = findData(QString::fromStdString(previous));
    setCurrentIndex(keep >= 0 ? keep : (count() > 0 ? 0 : -1));
    filling_ = false;
}

std::string TVlDriveComboBox::Drive() const { return currentData().toString().toStdString(); }

void TVlDriveComboBox::SetDrive(const std::string& root) {
    int i = findData(QString::fromStdString(root));
    if (i < 0) i = findData(QString::fromStdString(WithSlash(root)));
    if (i < 0) return;
    if (i == currentIndex()) {
        if (OnChange) OnChange(this);  // selecting fires the event even when it stays
        return;
    }
    setCurrentIndex(i);
}

std::vector<std::string> TVlDriveComboBox::ItemTexts() const {
    std::vector<std::string> out;
    for (int i = 0; i < count(); ++i) out.push_back(itemText(i).toStdString());
    return out;
}

void TVlDriveComboBox::SetDriveTypes(TDriveTypes t) {
    if (t == driveTypes_) return;
    driveTypes_ = t;
    FillDriveList();
}

void TVlDriveComboBox::SetFlatButtons(bool v) {
    if (v == flatButtons_) return;
    flatButtons_ = v;
    update();
}

void TVlDriveComboBox::SetColor(TColor c) {
    color_ = c;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, QCol(c));
    pal.setColor(QPalette::Button, QCol(c));
    setPalette(pal);
    update();
}

void TVlDriveComboBox::UpdateFrame(bool viaMouse, bool inFocus) {
    if (viaMouse)
        mouseOver_ = inFocus;
    else
        focused_ = inFocus;
    if (FrameFlat()) {
        TVlFrameControl::SetFrameStyle(focused_ || mouseOver_ ? FrameFocusStyle() : FrameFlatStyle());
    }
    if (FrameFlat() || flatButtons_) RepaintFrame();
}

void TVlDriveComboBox::RepaintFrame() {
    update();
    if (isVisible()) repaint();
}

void TVlDriveComboBox::FrameVisibleChanged() { update(); }

bool TVlDriveComboBox::event(QEvent* e) {
    bool r = QComboBox::event(e);
    FrameEvent(this, e, color_, false);
    return r;
}

void TVlDriveComboBox::focusInEvent(QFocusEvent* e) {
    QComboBox::focusInEvent(e);
    UpdateFrame(false, true);
}

void TVlDriveComboBox::focusOutEvent(QFocusEvent* e) {
    QComboBox::focusOutEvent(e);
    mouseOver_ = false;
    UpdateFrame(false, false);
}

void TVlDriveComboBox::resizeEvent(QResizeEvent* e) {
    QComboBox::resizeEvent(e);
    if (FrameVisible()) update();
}

void TVlDriveComboBox::paintEvent(QPaintEvent* e) {
    QComboBox::paintEvent(e);
    if (!FrameVisible()) return;
    QPainter painter(this);
    Canvas c(painter);
    const Rect client{0, 0, width(), height()};
    DrawChosenSides(c, client, color_, TSides::All(), 2, color_);
    if (flatButtons_ && !focused_ && !mouseOver_) {
        const int sb = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        Rect button{width() - sb - 2, 2, width() - 2, height() - 2};
        c.Brush() = {color_, BrushStyle::Solid};
        c.FillRect(button);
        const int x = button.left + sb / 2 - 1, y = height() / 2 + 2;
        c.Pen() = {clBlack, 1, PenStyle::Solid};
        c.Brush() = {clBlack, BrushStyle::Solid};
        c.Polygon({{x, y}, {x - 5, y - 5}, {x + 5, y - 5}});
    }
    if (FrameStyle() != fsFlat)
        DrawFrameStyle(c, client, FrameStyle(), FrameSides());
    else
        DrawSideLines(c, client, FrameColor(), FrameSides(), FrameColor());
}

// ---------------------------------------------------------------------------
// TVlDirectoryListBox

class TVlDirItemDelegate : public QStyledItemDelegate {
public:
    explicit TVlDirItemDelegate(TVlDirectoryListBox* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width() > 0 ? option.rect.width() : 100,
                std::max(18, GetTextLineHeight(FontOf(list_->font())) - 3)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const int row = index.row();
        Rect r{option.rect.left(), option.rect.top(), option.rect.right() + 1, option.rect.bottom() + 1};
        Canvas c(*painter);
        c.Font() = FontOf(list_->font());
        c.Brush() = {list_->color_, BrushStyle::Solid};
        c.FillRect(r);
        const int indent = list_->ItemIndent(row);
        QIcon icon = row < list_->pathCount_ - 1
                         ? DesktopIcon({}, true, true)
                         : (row == list_->pathCount_ - 1 ? DesktopIcon({}, true, true)
                                                         : DesktopIcon({}, true, false));
        icon.paint(painter, QRect(r.left + indent, r.top + (r.Height() - 16) / 2, 16, 16));
        const std::string text = index.data().toString().toStdString();
        const int textLeft = r.left + 16 + indent + 4;
        const int textTop = r.top + (r.Height() - c.TextHeight("Pp")) / 2;
        Rect tr{textLeft, r.top, std::min(r.right, textLeft + c.TextWidth(text) + 4), r.bottom};
        c.Brush() = {selected ? clHighlight : list_->color_, BrushStyle::Solid};
        c.Font().Color = selected ? clHighlightText : clWindowText;
        c.TextRect(tr, textLeft + 2, textTop, text);
    }

private:
    TVlDirectoryListBox* list_;
};

TVlDirectoryListBox::TVlDirectoryListBox(QWidget* parent) : QListWidget(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setMouseTracking(true);
    setItemDelegate(new TVlDirItemDelegate(this));
    std::error_code ec;
    directory_ = fs::current_path(ec).string();
    BuildList();
}

TVlDirectoryListBox::~TVlDirectoryListBox() {
    if (fileList_ && fileList_->dirList_ == this) fileList_->dirList_ = nullptr;
}

void TVlDirectoryListBox::SetFileList(TVlFileListBox* list) {
    if (fileList_ && fileList_->dirList_ == this) fileList_->dirList_ = nullptr;
    fileList_ = list;
    if (list) {
        list->dirList_ = this;
        list->ChangeDirectory(directory_);
    }
}

void TVlDirectoryListBox::SetDirLabel(QLabel* label) {
    dirLabel_ = label;
    UpdateDirLabel();
}

void TVlDirectoryListBox::SetShowLongNames(bool v) {
    if (v == showLongNames_) return;
    showLongNames_ = v;
    BuildList();
    UpdateDirLabel();
}

void TVlDirectoryListBox::SetColor(TColor c) {
    color_ = c;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, QCol(c));
    setPalette(pal);
    if (FrameVisible()) RepaintFrame();
}

int TVlDirectoryListBox::ItemIndent(int index) const {
    if (index < pathCount_) return index * 4 + 2;
    return (CountChar('/', directory_) + 1) * 4 + 2;
}

std::vector<std::string> TVlDirectoryListBox::ItemTexts() const {
    std::vector<std::string> out;
    for (int i = 0; i < count(); ++i) out.push_back(item(i)->text().toStdString());
    return out;
}

void TVlDirectoryListBox::SetDirectory(const std::string& dir) {
    std::error_code ec;
    std::string abs = dir.empty() ? fs::current_path(ec).string()
                                  : (dir[0] == '/' ? dir : WithSlash(fs::current_path(ec).string()) + dir);
    abs = WithoutSlash(fs::path(abs).lexically_normal().string());
    if (abs == directory_ && count() > 0) return;
    directory_ = abs;
    BuildList();
    if (fileList_) fileList_->ChangeDirectory(directory_);
    UpdateDirLabel();
    if (OnChange) OnChange(this);
}

void TVlDirectoryListBox::BuildList() {
    // Up to the nearest folder that exists; the root always does, so this ends.
    while (!wb::DirectoryExists(directory_) && directory_ != "/") {
        size_t slash = directory_.rfind('/');
        std::string up = slash == 0 || slash == std::string::npos ? "/" : directory_.substr(0, slash);
        if (up == directory_) break;
        directory_ = up;
    }
    clear();
    std::vector<std::string> elements{"/"};
    std::string path = "/";
    for (const fs::path& e : fs::path(directory_).relative_path()) elements.push_back(e.string());
    for (size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) path = WithSlash(path) + elements[i];
        auto* it = new QListWidgetItem(QString::fromStdString(elements[i]), this);
        it->setData(Qt::UserRole, QString::fromStdString(path));
    }
    pathCount_ = int(elements.size());
    std::vector<std::string> subs;
    std::error_code ec;
    for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        std::string name = it->path().filename().string();
        if (!name.empty() && name[0] != '.' && fs::is_directory(it->path(), sec)) subs.push_back(name);
    }
    std::sort(subs.begin(), subs.end(), [](const std::string& a, const std::string& b) {
        int c = CaseInsensitiveCompare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    for (const std::string& s : subs) {
        auto* it = new QListWidgetItem(QString::fromStdString(s), this);
        it->setData(Qt::UserRole, QString::fromStdString(WithSlash(directory_) + s));
    }
    setCurrentRow(pathCount_ - 1);
}

void TVlDirectoryListBox::UpdateDirLabel() {
    if (!dirLabel_) return;
    QFontMetrics fm(dirLabel_->font());
    int width = dirLabel_->width() > 0 ? dirLabel_->width() : this->width();
    dirLabel_->setText(QString::fromStdString(MinimizeName(
        directory_, width, [&](const std::string& s) { return fm.horizontalAdvance(QString::fromStdString(s)); })));
}

void TVlDirectoryListBox::RepaintFrame() {
    update();
    if (isVisible()) repaint();
}

bool TVlDirectoryListBox::event(QEvent* e) {
    bool r = QListWidget::event(e);
    FrameEvent(this, e, color_, true);
    return r;
}

void TVlDirectoryListBox::focusInEvent(QFocusEvent* e) {
    UpdateFrame(false, true);
    QListWidget::focusInEvent(e);
}

void TVlDirectoryListBox::focusOutEvent(QFocusEvent* e) {
    QListWidget::focusOutEvent(e);
    UpdateFrame(false, false);
}

void TVlDirectoryListBox::wheelEvent(QWheelEvent* e) { VlWheelScroll(verticalScrollBar(), e); }

void TVlDirectoryListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QListWidget::mouseDoubleClickEvent(e);
    if (QListWidgetItem* it = currentItem()) SetDirectory(it->data(Qt::UserRole).toString().toStdString());
}

// ---------------------------------------------------------------------------
// TVlDirectoryTree

namespace {

constexpr uint32_t kUnreadable = 0xFFFFFFFFu;
constexpr int kFolderNodeType = QTreeWidgetItem::UserType + 1;

// A node that owns its folder data; a placeholder is a plain item.
class TVlTreeNode : public QTreeWidgetItem {
public:
    explicit TVlTreeNode(std::string path) : QTreeWidgetItem(kFolderNodeType) {
        info.Path = std::move(path);
    }
    TFolderInfo info;
};

QTreeWidgetItem* MakePlaceholder() {
    auto* p = new QTreeWidgetItem;
    p->setText(0, ":");
    return p;
}

bool IsDescendant(QTreeWidgetItem* item, QTreeWidgetItem* of) {
    for (QTreeWidgetItem* p = item ? item->parent() : nullptr; p; p = p->parent())
        if (p == of) return true;
    return false;
}

int CountSlashes(const std::string& s) { return CountChar('/', s); }

// The part of a path up to and including its k-th '/'.
std::string UpToSlash(const std::string& s, int k) { return CopyToNthChar(s, 1, '/', k); }

bool VisibleFolder(const fs::directory_entry& e) {
    std::string name = e.path().filename().string();
    if (name.empty() || name[0] == '.') return false;  // hidden folders never show
    std::error_code ec;
    return fs::is_directory(e.path(), ec);
}

} // namespace

const char* const TVlDirectoryTree::kRenameError =
    "A directory name cannot contain any of the following characters:\n\\ / : * ? \" < > |";

TVlDirectoryTree::TVlDirectoryTree(QWidget* parent) : TVlCustomTreeView(parent) {
    SetHideSelection(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    resize(250, 150);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnCurrentChanged(current); });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) { OnExpanded(node); });
    connect(this, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* node, int column) { OnEdited(node, column); });
}

TVlDirectoryTree::~TVlDirectoryTree() {
    destroying_ = true;
    notifier_.reset();  // joins the watcher before anything it could reach goes
    if (fileList_ && fileList_->dirTree_ == this) fileList_->dirTree_ = nullptr;
    ++suppress_;
    clear();
}

TFolderInfo* TVlDirectoryTree::Info(QTreeWidgetItem* node) {
    if (!node || node->type() != kFolderNodeType) return nullptr;
    return &static_cast<TVlTreeNode*>(node)->info;
}

void TVlDirectoryTree::HandleNeeded() {
    if (!handle_) CreateWnd();
}

void TVlDirectoryTree::CreateWnd() {
    handle_ = true;
    RebuildDriveNodes();
    notifier_ = std::make_unique<TVlDirNotificationThread>(this);
    std::string dir = savedDirectory_;
    savedDirectory_.clear();
    // Creating the window never fails: without a usable folder the first
    // drive is selected, or nothing when there is none.
    bool done = false;
    if (!dir.empty()) {
        try {
            SetDirectory(dir);
            done = !GetDirectory().empty();
        } catch (const EInOutError&) {
        }
    }
    if (!done && topLevelItemCount() > 0 && !currentItem()) setCurrentItem(topLevelItem(0));
}

void TVlDirectoryTree::DestroyWnd() {
    savedDirectory_ = GetDirectory();
    FreeNodeData();
    notifier_.reset();
    handle_ = false;
}

void TVlDirectoryTree::RecreateWnd() {
    if (!handle_) return;
    DestroyWnd();
    CreateWnd();
}

void TVlDirectoryTree::Loaded() {
    HandleNeeded();
    RebuildDriveNodes();
    std::error_code ec;
    try {
        SetDirectory(fs::current_path(ec).string());
    } catch (const EInOutError&) {
    }
}

void TVlDirectoryTree::FrameVisibleChanged() {
    RecreateWnd();
    RepaintFrame();
}

void TVlDirectoryTree::showEvent(QShowEvent* e) {
    HandleNeeded();
    TVlCustomTreeView::showEvent(e);
}

std::vector<wb::Volume> TVlDirectoryTree::GetDriveMask() const {
    std::vector<wb::Volume> out;
    for (const wb::Volume& v : wb::Volumes()->List()) {
        int code = int(v.kind);
        if (code == 1 || code > 6 || driveTypes_.Has(DriveTypeOf(v.kind))) out.push_back(v);
    }
    return out;
}

std::pair<std::string, uint32_t> TVlDirectoryTree::DriveCaption(const std::string& root) {
    auto info = wb::Volumes()->Info(root);
    const std::string name = wb::DriveName(root);
    if (!info) return {"(" + name + ")", kUnreadable};
    std::string label = info->label;
    if (!label.empty()) {
        label = QString::fromStdString(label).toLower().toStdString();
        if (label[0] >= 'a' && label[0] <= 'z') label[0] = char(label[0] - 'a' + 'A');
    }
    return {label + " (" + name + ")", info->serial};
}

uint32_t TVlDirectoryTree::VolumeSerial(const std::string& root) { return DriveCaption(root).second; }

uint32_t TVlDirectoryTree::LastSerial(const std::string& root) const {
    auto it = volumeSerials_.find(root);
    return it == volumeSerials_.end() ? 0 : it->second;
}

void TVlDirectoryTree::SetNodeImages(QTreeWidgetItem* node, bool isDrive, wb::VolumeKind kind) {
    node->setIcon(0, isDrive ? DriveIcon(kind) : DesktopIcon({}, true, false));
}

QTreeWidgetItem* TVlDirectoryTree::AddDriveNode(const wb::Volume& v, int insertAt) {
    auto* node = new TVlTreeNode(v.root);
    if (v.kind != wb::VolumeKind::Removable) {
        auto [text, serial] = DriveCaption(v.root);
        node->setText(0, QString::fromStdString(text));
        volumeSerials_[v.root] = serial;
    } else {
        // The medium is not touched: the mount point's name stands for it.
        std::string name = wb::DriveName(v.root);
        std::string last = name.substr(name.rfind('/') + 1);
        node->setText(0, QString::fromStdString(last + " (" + name + ")"));
    }
    SetNodeImages(node, true, v.kind);
    if (insertAt < 0)
        addTopLevelItem(node);
    else
        insertTopLevelItem(insertAt, node);
    int code = int(v.kind);
    if (code <= 2 || code == 5)
        node->addChild(MakePlaceholder());
    else
        AddPlaceholder(node);
    return node;
}

void TVlDirectoryTree::FreeNodeData() { clear(); }

void TVlDirectoryTree::RebuildDriveNodes() {
    if (!handle_) return;
    rebuilding_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);
    FreeNodeData();
    driveMask_.clear();
    for (const wb::Volume& v : GetDriveMask()) {
        driveMask_.push_back(v.root);
        AddDriveNode(v, -1);
    }
    setUpdatesEnabled(true);
    if (currentItem()) scrollToItem(currentItem());
    QApplication::restoreOverrideCursor();
    rebuilding_ = false;
}

void TVlDirectoryTree::UpdateDriveNodes() {
    if (!handle_) return;
    rebuilding_ = true;
    setUpdatesEnabled(false);
    std::vector<wb::Volume> fresh = GetDriveMask();
    auto has = [](const std::vector<std::string>& roots, const std::string& r) {
        return std::find(roots.begin(), roots.end(), r) != roots.end();
    };
    std::vector<std::string> freshRoots;
    for (const auto& v : fresh) freshRoots.push_back(v.root);
    for (const std::string& root : driveMask_) {
        if (has(freshRoots, root)) continue;
        if (QTreeWidgetItem* node = FindNode(root)) {
            ReloadNode(node);
            delete node;
        }
    }
    for (const wb::Volume& v : fresh) {
        if (has(driveMask_, v.root)) continue;
        int at = -1;
        for (int i = 0; i < topLevelItemCount(); ++i) {
            TFolderInfo* info = Info(topLevelItem(i));
            if (info && info->Path > v.root) {
                at = i;
                break;
            }
        }
        AddDriveNode(v, at);
    }
    driveMask_ = freshRoots;
    rebuilding_ = false;
    setUpdatesEnabled(true);
    viewport()->update();
}

QTreeWidgetItem* TVlDirectoryTree::FindNode(const std::string& path) const {
    const std::string root = WithSlash(path);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        TFolderInfo* info = Info(topLevelItem(i));
        if (!info) break;
        if (info->Path == root) return topLevelItem(i);
    }
    return nullptr;
}

void TVlDirectoryTree::AddPlaceholder(QTreeWidgetItem* node) {
    TFolderInfo* info = Info(node);
    if (!info || info->ChildrenRead) return;
    std::error_code ec;
    for (fs::directory_iterator it(info->Path, ec), end; !ec && it != end; it.increment(ec)) {
        if (VisibleFolder(*it)) {
            node->addChild(MakePlaceholder());
            return;
        }
    }
}

void TVlDirectoryTree::LoadChildren(QTreeWidgetItem* node) {
    TFolderInfo* info = Info(node);
    if (!info || info->ChildrenRead) return;
    if (IsDescendant(currentItem(), node)) {
        ++suppress_;
        setCurrentItem(node);
        --suppress_;
    }
    qDeleteAll(node->takeChildren());
    info->ChildrenRead = true;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(info->Path, ec), end; !ec && it != end; it.increment(ec))
        if (VisibleFolder(*it)) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        int c = QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    const std::string base = info->Path;  // the children below may move node data
    for (const std::string& name : names) {
        auto* child = new TVlTreeNode(WithSlash(base + name));
        child->setText(0, QString::fromStdString(name));
        child->setFlags(child->flags() | Qt::ItemIsEditable);
        SetNodeImages(child, false, wb::VolumeKind::Fixed);
        node->addChild(child);
        // Its expand button, whether or not the view expands the parent again.
        AddPlaceholder(child);
    }
}

void TVlDirectoryTree::OnExpanded(QTreeWidgetItem* node) {
    if (rebuilding_ || destroying_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LoadChildren(node);
    for (int i = 0; i < node->childCount(); ++i) AddPlaceholder(node->child(i));
    QApplication::restoreOverrideCursor();
    if (OnExpanding) OnExpanding(this, node);
    UpdateWatch();
}

void TVlDirectoryTree::ReloadNode(QTreeWidgetItem* node) {
    TFolderInfo* info = Info(node);
    if (!info) return;
    if (IsDescendant(currentItem(), node)) {
        ++suppress_;
        setCurrentItem(node);
        --suppress_;
    }
    qDeleteAll(node->takeChildren());
    info->ChildrenRead = false;
    AddPlaceholder(node);
}

QTreeWidgetItem* TVlDirectoryTree::DriveNodeOf(QTreeWidgetItem* node) const {
    while (node && node->parent()) node = node->parent();
    return node;
}

std::string TVlDirectoryTree::GetDirectory() const {
    if (!handle_) return {};
    TFolderInfo* info = Info(currentItem());
    if (!info) return {};
    return WithoutSlash(info->Path);
}

std::string TVlDirectoryTree::GetDrive() const {
    if (GetDirectory().empty()) return {};
    TFolderInfo* info = Info(DriveNodeOf(currentItem()));
    return info ? info->Path : std::string();
}

void TVlDirectoryTree::SetDirectory(const std::string& given) {
    std::string path = given;
    // A network form ("//server/share/rest") is taken under the drive mounted
    // from that share; nothing happens when none is.
    if (path.size() > 2 && path[0] == '/' && path[1] == '/') {
        size_t server = path.find('/', 2);
        size_t share = server == std::string::npos ? std::string::npos : path.find('/', server + 1);
        std::string prefix = share == std::string::npos ? WithSlash(path) : path.substr(0, share + 1);
        std::string rest = share == std::string::npos ? "" : path.substr(share);
        path.clear();
        for (const wb::Volume& v : wb::Volumes()->List()) {
            if (v.kind != wb::VolumeKind::Remote) continue;
            std::string remote = WithSlash(wb::Volumes()->RemoteName(v.root));
            if (SameTextIgnoringCase(remote, prefix)) {
                path = WithoutSlash(v.root) + (rest.empty() ? "/" : rest);
                break;
            }
        }
    }
    if (path.empty()) return;
    std::error_code ec;
    if (path[0] != '/') path = WithSlash(fs::current_path(ec).string()) + path;
    path = fs::path(path).lexically_normal().string();
    if (WithoutSlash(path) == GetDirectory()) return;

    // The caller's spelling is checked first: the file system is case-sensitive.
    auto volume = wb::VolumeOf(*wb::Volumes(), path);
    if (!volume || !wb::DirectoryExists(volume->root))
        throw EInOutError("The " + given + " directory does not exist");
    if (!wb::DirectoryExists(path)) {
        // Then the folder as the disk spells it, when only the case differs.
        std::string onDisk = MakeLongPath(path);
        if (wb::DirectoryExists(onDisk)) path = onDisk;
    }
    if (!wb::DirectoryExists(path)) {
        const int rootLevel = CountSlashes(WithSlash(volume->root));
        for (int k = CountSlashes(path); k >= rootLevel; --k) {
            std::string up = UpToSlash(path, k);
            if (wb::DirectoryExists(up)) {
                path = up;
                break;
            }
        }
    }
    path = WithSlash(path);
    if (!handle_) return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);
    auto finish = [&] {
        setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    };
    // The drive node: the longest root among the nodes that holds the path,
    // spelt exactly, else without regard to case.
    QTreeWidgetItem* node = nullptr;
    size_t best = 0;
    for (int pass = 0; pass < 2 && !node; ++pass) {
        for (int i = 0; i < topLevelItemCount(); ++i) {
            TFolderInfo* info = Info(topLevelItem(i));
            if (!info) break;
            const std::string& root = info->Path;
            if (root.size() > path.size() || root.size() <= best) continue;
            bool match = pass == 0 ? path.compare(0, root.size(), root) == 0
                                   : SameTextIgnoringCase(path.substr(0, root.size()), root);
            if (match) {
                node = topLevelItem(i);
                best = root.size();
            }
        }
    }
    if (!node) {
        finish();
        return;
    }
    const int from = CountSlashes(Info(node)->Path) + 1;
    const int to = CountSlashes(path);
    for (int i = from; i <= to; ++i) {
        LoadChildren(node);
        const std::string prefix = UpToSlash(path, i);
        QTreeWidgetItem* next = nullptr;
        for (int pass = 0; pass < 2 && !next; ++pass) {
            for (int c = 0; c < node->childCount(); ++c) {
                TFolderInfo* info = Info(node->child(c));
                if (!info) break;
                if (pass == 0 ? info->Path == prefix : SameTextIgnoringCase(info->Path, prefix)) {
                    next = node->child(c);
                    break;
                }
            }
        }
        if (!next) {
            finish();
            return;
        }
        node = next;
    }
    if (node != currentItem()) setCurrentItem(node);
    scrollToItem(node);
    finish();
}

void TVlDirectoryTree::OnCurrentChanged(QTreeWidgetItem* current) {
    if (suppress_ > 0) return;
    ChangeStep(current);
}

void TVlDirectoryTree::ChangeStep(QTreeWidgetItem* node) {
    lastDrive_ = currentDrive_;
    if (destroying_ || rebuilding_) {
        currentDrive_ = GetDrive();
        return;
    }
    if (TFolderInfo* info = Info(node)) {
        QTreeWidgetItem* driveNode = DriveNodeOf(node);
        const std::string root = Info(driveNode)->Path;
        if (VolumeSerial(root) != LastSerial(root)) {
            // Another medium: the drive is read again and stands for the selection.
            ReloadNode(driveNode);
            auto [text, serial] = DriveCaption(root);
            ++suppress_;
            driveNode->setText(0, QString::fromStdString(text));
            setCurrentItem(driveNode);
            --suppress_;
            volumeSerials_[root] = serial;
            if (serial != kUnreadable && driveNode->childCount() == 0) driveNode->addChild(MakePlaceholder());
            node = driveNode;
        }
        (void)info;
    }
    currentDrive_ = GetDrive();
    if (currentDrive_ != lastDrive_) DriveChange();
    if (fileList_) fileList_->ChangeDirectory(GetDirectory());
    UpdateDirLabel();
    UpdateWatch();
    if (OnChange) OnChange(this, node);
}

void TVlDirectoryTree::DriveChange() {
    if (notifier_) {
        notifier_->Resume();
        notifier_->SetDrive(GetDrive());
        UpdateWatch();
    }
    if (OnDriveChange) OnDriveChange(this);
}

void TVlDirectoryTree::UpdateWatch() {
    if (!notifier_ || notifier_->Drive().empty()) return;
    std::vector<std::string> folders;
    if (QTreeWidgetItem* driveNode = FindNode(notifier_->Drive())) {
        std::vector<QTreeWidgetItem*> stack{driveNode};
        while (!stack.empty()) {
            QTreeWidgetItem* n = stack.back();
            stack.pop_back();
            TFolderInfo* info = Info(n);
            if (!info) continue;
            folders.push_back(WithoutSlash(info->Path));
            for (int i = 0; i < n->childCount(); ++i) stack.push_back(n->child(i));
        }
    }
    std::sort(folders.begin(), folders.end());
    if (folders != notifier_->Folders()) notifier_->SetFolders(std::move(folders));
}

std::vector<std::string> TVlDirectoryTree::WatchedFolders() const {
    return notifier_ ? notifier_->Folders() : std::vector<std::string>();
}

void TVlDirectoryTree::UpdateDirLabel() {
    if (!dirLabel_) return;
    QFontMetrics fm(dirLabel_->font());
    int w = dirLabel_->width() > 0 ? dirLabel_->width() : width();
    dirLabel_->setText(QString::fromStdString(MinimizeName(
        GetDirectory(), w, [&](const std::string& s) { return fm.horizontalAdvance(QString::fromStdString(s)); })));
}

void TVlDirectoryTree::RefreshTree() {
    std::string dir = GetDirectory();
    RebuildDriveNodes();
    if (dir.empty()) return;
    try {
        SetDirectory(dir);
    } catch (const EInOutError&) {
    }
}

void TVlDirectoryTree::RefreshDrive(const std::string& root) {
    if (destroying_ || rebuilding_ || !handle_) return;
    const std::string cur = GetDirectory();
    if (QTreeWidgetItem* node = FindNode(root)) {
        ReloadNode(node);
        auto [text, serial] = DriveCaption(Info(node)->Path);
        ++suppress_;
        node->setText(0, QString::fromStdString(text));
        --suppress_;
        volumeSerials_[Info(node)->Path] = serial;
        if (serial != kUnreadable && node->childCount() == 0) node->addChild(MakePlaceholder());
    }
    if (!cur.empty()) {
        try {
            SetDirectory(cur);
        } catch (const EInOutError&) {
            // The drive itself went: the selection stays where the reload left it.
        }
    }
    UpdateWatch();
}

void TVlDirectoryTree::SetFileList(TVlFileListBox* list) {
    if (list == fileList_) return;
    if (fileList_ && fileList_->dirTree_ == this) fileList_->dirTree_ = nullptr;
    fileList_ = list;
    if (list) list->dirTree_ = this;
}

void TVlDirectoryTree::SetDirLabel(QLabel* label) {
    dirLabel_ = label;
    UpdateDirLabel();
}

void TVlDirectoryTree::SetDriveTypes(TDriveTypes t) {
    if (t == driveTypes_) return;
    driveTypes_ = t;
    UpdateDriveNodes();
}

void TVlDirectoryTree::SetReadOnly(bool v) { readOnly_ = v; }

void TVlDirectoryTree::ClickSelected() {
    QTreeWidgetItem* node = currentItem();
    TFolderInfo* info = Info(node);
    if (!info) return;
    const std::string root = Info(DriveNodeOf(node))->Path;
    if (VolumeSerial(root) == LastSerial(root)) {
        if (OnClick) OnClick(this);
    } else {
        ChangeStep(node);
    }
}

void TVlDirectoryTree::mouseReleaseEvent(QMouseEvent* e) {
    TVlCustomTreeView::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && itemAt(e->pos())) ClickSelected();
}

void TVlDirectoryTree::keyPressEvent(QKeyEvent* e) {
    TVlCustomTreeView::keyPressEvent(e);
    if (e->key() == Qt::Key_F2 && !readOnly_) {
        QTreeWidgetItem* node = currentItem();
        if (Info(node) && node->parent()) {  // drive nodes are never renamed
            editNode_ = node;
            editOldText_ = node->text(0).toStdString();
            editing_ = true;
            editItem(node, 0);
        }
    }
}

void TVlDirectoryTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    TVlCustomTreeView::closeEditor(editor, hint);
    editing_ = false;
    editNode_ = nullptr;
}

void TVlDirectoryTree::OnEdited(QTreeWidgetItem* node, int) {
    if (!editing_ || node != editNode_ || suppress_ > 0) return;
    editing_ = false;
    std::string text = node->text(0).toStdString();
    ++suppress_;
    node->setText(0, QString::fromStdString(editOldText_));
    --suppress_;
    RenameNode(node, text);
}

bool TVlDirectoryTree::RenameNode(QTreeWidgetItem* node, std::string& text) {
    TFolderInfo* info = Info(node);
    if (!info || !node->parent()) return false;
    const std::string oldText = node->text(0).toStdString();
    // Names that would leave the parent folder or that the disk cannot hold
    // are refused before anything moves.
    bool bad = text.empty() || text == "." || text == ".." ||
               text.find_first_of("\\/:*?\"<>|") != std::string::npos;
    const std::string oldPath = WithoutSlash(info->Path);
    const std::string parentPath = Info(node->parent())->Path;
    const std::string newPath = parentPath + text;
    std::error_code ec;
    if (!bad && text != oldText) {
        if (fs::exists(fs::symlink_status(newPath, ec)))
            bad = true;
        else {
            fs::rename(oldPath, newPath, ec);
            bad = bool(ec);
        }
    }
    if (bad) {
        TVlShell::ShowError(kRenameError);
        text = oldText;
        return false;
    }
    ++suppress_;
    node->setText(0, QString::fromStdString(text));
    --suppress_;
    // The node and everything below it take the new path at once.
    const std::string oldPrefix = WithSlash(oldPath), newPrefix = WithSlash(newPath);
    std::vector<QTreeWidgetItem*> stack{node};
    while (!stack.empty()) {
        QTreeWidgetItem* n = stack.back();
        stack.pop_back();
        if (TFolderInfo* i = Info(n)) {
            if (i->Path.compare(0, oldPrefix.size(), oldPrefix) == 0)
                i->Path = newPrefix + i->Path.substr(oldPrefix.size());
        }
        for (int c = 0; c < n->childCount(); ++c) stack.push_back(n->child(c));
    }
    ChangeStep(node);
    return true;
}

// ---------------------------------------------------------------------------
// TVlDirNotificationThread

TVlDirNotificationThread::TVlDirNotificationThread(TVlDirectoryTree* tree)
    : tree_(tree), watcher_(nullptr) {
    if (watcher_.ReadyFd() >= 0) {
        ready_ = std::make_unique<QSocketNotifier>(watcher_.ReadyFd(), QSocketNotifier::Read);
        QObject::connect(ready_.get(), &QSocketNotifier::activated, tree, [this] { OnReady(); });
    }
}

TVlDirNotificationThread::~TVlDirNotificationThread() {
    ready_.reset();
    watcher_.Stop();
}

void TVlDirNotificationThread::SetDrive(const std::string& root) {
    drive_ = root;
    folders_.clear();
    watcher_.SetFolders({});
}

void TVlDirNotificationThread::Resume() { watcher_.Start(); }

void TVlDirNotificationThread::SetFolders(std::vector<std::string> folders) {
    folders_ = folders;
    watcher_.SetFolders(std::move(folders));
}

void TVlDirNotificationThread::NotifyTree() {
    if (!drive_.empty()) tree_->RefreshDrive(drive_);
}

void TVlDirNotificationThread::OnReady() {
    auto event = watcher_.TakeEvent();
    if (!event) return;
    if (*event == wb::DirWatcher::Event::FolderChange) {
        NotifyTree();
    } else {
        // New or vanished media: the drive nodes follow, then the selection.
        tree_->UpdateDriveNodes();
        tree_->ChangeStep(tree_->currentItem());
    }
    watcher_.Handled();
}
