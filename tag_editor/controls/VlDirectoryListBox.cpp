#include "tag_editor/controls/VlDirectoryListBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/base/File.h"
#include "tag_editor/controls/VlFileIcons.h"
#include "tag_editor/controls/VlFileListBox.h"
#include "tag_editor/controls/VlFsRules.h"

namespace velmora {

namespace fs = std::filesystem;
using namespace wb::gui;

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
        // The path's folders show open, the subfolders closed.
        QIcon icon = DesktopIcon({}, true, row < list_->pathCount_);
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

TVlDirectoryListBox::TVlDirectoryListBox(QWidget* parent) : TVlFramedWidget(parent) {
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
    SetBackColor(this, c);
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
    std::sort(subs.begin(), subs.end(), FolderNameLess);
    for (const std::string& s : subs) {
        auto* it = new QListWidgetItem(QString::fromStdString(s), this);
        it->setData(Qt::UserRole, QString::fromStdString(WithSlash(directory_) + s));
    }
    setCurrentRow(pathCount_ - 1);
}

void TVlDirectoryListBox::UpdateDirLabel() {
    ShowPathInLabel(dirLabel_, directory_, width());
}

void TVlDirectoryListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    QListWidget::mouseDoubleClickEvent(e);
    if (QListWidgetItem* it = currentItem()) SetDirectory(it->data(Qt::UserRole).toString().toStdString());
}

} // namespace velmora
