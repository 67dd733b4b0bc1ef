#include "tag_editor/controls/VlFileListBox.h"

#include <sys/stat.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/base/File.h"
#include "platform/base/TextUtil.h"
#include "tag_editor/controls/VlDirectoryListBox.h"
#include "tag_editor/controls/VlDirectoryTree.h"
#include "tag_editor/controls/VlFileIcons.h"
#include "tag_editor/controls/VlLFName.h"
#include "tag_editor/controls/VlShell.h"

namespace velmora {

namespace fs = std::filesystem;
using namespace wb::gui;

namespace {

uint32_t PackedTime(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return PackedDateTime(tm);
}

} // namespace

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

TVlFileListBox::TVlFileListBox(QWidget* parent) : TVlFramedWidget(parent) {
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

// The list scrolls to the current file once the selections of one turn of
// the event loop are done, before it is drawn: moving the view's pixels for
// every file of a program's run of selections would cost more than reading
// the files.
void TVlFileListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    const bool scroll = hasAutoScroll() && isVisible();  // a hidden list scrolls when shown
    if (!scroll) return TVlFramedWidget::currentChanged(current, previous);
    setAutoScroll(false);
    TVlFramedWidget::currentChanged(current, previous);
    setAutoScroll(true);
    if (!current.isValid() || scrollPosted_) return;
    scrollPosted_ = true;
    QMetaObject::invokeMethod(this, [this] {
        scrollPosted_ = false;
        if (currentIndex().isValid()) scrollTo(currentIndex());
    }, Qt::QueuedConnection);
}

int TVlFileListBox::CachedIconCount() { return velmora::CachedIconCount(); }

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
    SetBackColor(this, c);
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
    return CompareFileEntries(a.IsDirectory, a.Name, b.IsDirectory, b.Name);
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
    std::error_code ec;
    fs::current_path(directory_, ec);
    FreeFileInfos();
    clear();

    struct Entry {
        std::string name;
        uint32_t attr;
        fs::path path;
        uint32_t time;
        int64_t size;
    };
    std::vector<Entry> entries;
    for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
        Entry e{it->path().filename().string(), 0, it->path(), 0, 0};
        // One stat per entry answers for kind, time, size and write bits.
        struct stat st;
        const bool known = ::stat(e.path.c_str(), &st) == 0;
        if (known && S_ISDIR(st.st_mode)) e.attr |= faDirectory;
        else if (!known || !S_ISREG(st.st_mode)) e.attr |= faSysFile;
        if (!e.name.empty() && e.name[0] == '.') e.attr |= faHidden;
        if (wb::IsReadOnlyFile(e.path.string(), known ? unsigned(st.st_mode) : 0u)) e.attr |= faReadOnly;
        if (known) e.time = PackedTime(st.st_mtime);
        if (known && S_ISREG(st.st_mode)) e.size = int64_t(st.st_size);
        entries.push_back(std::move(e));
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });

    const bool busyCursorPossible = QApplication::instance() != nullptr;
    bool busy = false;
    std::set<std::string> listed;  // a name matching two patterns is listed once
    for (const std::string& pattern : SplitMask(mask_)) {
        for (const Entry& e : entries) {
            if (!FileTypeLists(fileType_, e.attr)) continue;
            if (!MatchesMask(e.name, pattern) || listed.count(e.name)) continue;
            listed.insert(e.name);
            auto info = std::make_unique<TVlFileInfo>();
            info->Name = e.name;
            info->Attr = e.attr;
            info->Time = e.time;
            info->Size = e.size;
            info->IsDirectory = e.attr & faDirectory;
            if (showGlyphs_)
                info->Icon = info->IsDirectory ? DesktopIcon(e.path.string(), true, false)
                                               : CachedFileIcon(e.path.string(), e.name);
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
        if (wb::SameText(item(i)->text().toStdString(), name)) {
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
        fs::current_path(directory_, ec);
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

} // namespace velmora
