#include "tag_editor/controls/filesystem/VlDirectoryListBox.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/base/File.h"
#include "tag_editor/controls/filesystem/VlFileListBox.h"
#include "tag_editor/controls/filesystem/VlFsRules.h"

namespace velmora {

namespace fs = std::filesystem;
using namespace wb::gui;

TVlDirectoryListBox::TVlDirectoryListBox(wb::Component* owner) : TVlFramed(owner) {
    SetEdge(Edge::Sunken);
    SetStyle(Style::OwnerDrawFixed);
    FontChanged();
    std::error_code ec;
    directory_ = fs::current_path(ec).string();
    BuildList();
}

TVlDirectoryListBox::TVlDirectoryListBox(WinControl& parent, const std::string& name)
    : TVlDirectoryListBox(&parent) {
    Place(parent, name);
}

TVlDirectoryListBox::~TVlDirectoryListBox() {
    if (fileList_ && fileList_->dirList_ == this) fileList_->dirList_ = nullptr;
}

void TVlDirectoryListBox::DrawItem(Canvas& c, int row, const Rect& r, bool selected) {
    c.Brush() = {Color(), BrushStyle::Solid};
    c.FillRect(r);
    const int indent = ItemIndent(row);
    const int iconTop = r.top + (r.Height() - 16) / 2;
    // The path's folders show open, the subfolders closed.
    Icon::ForFile({}, true, row < pathCount_)
        .Draw(c, Rect{r.left + indent, iconTop, r.left + indent + 16, iconTop + 16});
    const std::string text = ItemText(row);
    const int textLeft = r.left + 16 + indent + 4;
    const int textTop = r.top + (r.Height() - c.TextHeight("Pp")) / 2;
    Rect tr{textLeft, r.top, std::min(r.right, textLeft + c.TextWidth(text) + 4), r.bottom};
    c.Brush() = {selected ? clHighlight : Color(), BrushStyle::Solid};
    c.Font().Color = selected ? clHighlightText : clWindowText;
    c.TextRect(tr, textLeft + 2, textTop, text);
}

void TVlDirectoryListBox::FontChanged() { SetItemHeight(std::max(18, GetTextLineHeight(Font()) - 3)); }

void TVlDirectoryListBox::Notification(wb::Component* c, wb::Operation op) {
    TVlFramed::Notification(c, op);
    if (op == wb::Operation::Remove && c == dirLabel_) dirLabel_ = nullptr;
}

void TVlDirectoryListBox::SetFileList(TVlFileListBox* list) {
    if (fileList_ && fileList_->dirList_ == this) fileList_->dirList_ = nullptr;
    fileList_ = list;
    if (list) {
        list->dirList_ = this;
        list->ChangeDirectory(directory_);
    }
}

void TVlDirectoryListBox::SetDirLabel(Label* label) {
    if (dirLabel_) RemoveFreeNotification(dirLabel_);
    dirLabel_ = label;
    if (label) FreeNotification(label);
    UpdateDirLabel();
}

void TVlDirectoryListBox::SetShowLongNames(bool v) {
    if (v == showLongNames_) return;
    showLongNames_ = v;
    BuildList();
    UpdateDirLabel();
}

void TVlDirectoryListBox::SetColor(TColor c) {
    ListBox::SetColor(c);
    if (FrameVisible()) RepaintFrame();
}

int TVlDirectoryListBox::ItemIndent(int index) const {
    if (index < pathCount_) return index * 4 + 2;
    return (CountChar('/', directory_) + 1) * 4 + 2;
}

void TVlDirectoryListBox::SetDirectory(const std::string& dir) {
    std::error_code ec;
    std::string abs = dir.empty() ? fs::current_path(ec).string()
                                  : (dir[0] == '/' ? dir : WithSlash(fs::current_path(ec).string()) + dir);
    abs = WithoutSlash(fs::path(abs).lexically_normal().string());
    if (abs == directory_ && Count() > 0) return;
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
    Clear();
    std::vector<std::string> elements{"/"};
    std::string path = "/";
    for (const fs::path& e : fs::path(directory_).relative_path()) elements.push_back(e.string());
    for (size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) path = WithSlash(path) + elements[i];
        AddItem(elements[i], {}, path);
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
    for (const std::string& s : subs) AddItem(s, {}, WithSlash(directory_) + s);
    SetItemIndex(pathCount_ - 1);
}

// Measured in the list's font, which a label beside it shares.
void TVlDirectoryListBox::UpdateDirLabel() {
    if (!dirLabel_) return;
    Canvas measure;
    measure.Font() = Font();
    const int width = dirLabel_->Width() > 0 ? dirLabel_->Width() : Width();
    dirLabel_->SetCaption(
        MinimizeName(directory_, width, [&](const std::string& t) { return measure.TextWidth(t); }));
}

void TVlDirectoryListBox::DblClick() {
    TVlFramed::DblClick();
    if (const int row = ItemIndex(); row >= 0) SetDirectory(ItemData(row));
}

} // namespace velmora
