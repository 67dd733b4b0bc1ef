#include "tag_editor/controls/filesystem/VlFileListBox.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/base/File.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/TextUtil.h"
#include "platform/gui/Cursors.h"
#include "tag_editor/controls/filesystem/VlDirectoryListBox.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/filesystem/VlFileIcons.h"
#include "tag_editor/controls/filesystem/VlLFName.h"
#include "tag_editor/controls/filesystem/VlShell.h"

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

TVlFileListBox::TVlFileListBox(wb::Component* owner) : TVlFramed(owner) {
    SetEdge(Edge::Sunken);
    SetStyle(Style::OwnerDrawFixed);
    std::error_code ec;
    directory_ = fs::current_path(ec).string();
    SetColor(clWindow);
    UpdateItemHeight();
}

TVlFileListBox::TVlFileListBox(WinControl& parent, const std::string& name) : TVlFileListBox(&parent) {
    Place(parent, name);
}

TVlFileListBox::~TVlFileListBox() {
    if (dirTree_ && dirTree_->fileList_ == this) dirTree_->fileList_ = nullptr;
    if (dirList_ && dirList_->fileList_ == this) dirList_->fileList_ = nullptr;
    FreeFileInfos();
}

void TVlFileListBox::DrawItem(Canvas& c, int row, const Rect& rect, bool selected) {
    Rect r = rect;
    if (showGlyphs_) r.left += 24;
    c.Brush() = {selected ? clHighlight : Color(), BrushStyle::Solid};
    c.Font().Color = selected ? clHighlightText : clWindowText;
    const int textTop = r.top + (r.Height() - c.TextHeight("Pp")) / 2;
    c.TextRect(r, r.left + 2, textTop, ItemText(row));
    if (!showGlyphs_ || row < 0 || row >= int(infos_.size())) return;
    const TVlFileInfo& info = *infos_[size_t(row)];
    Icon icon = info.Icon;
    if (selected) icon = Icon::ForFile(WithSlash(directory_) + info.Name, info.IsDirectory, info.IsDirectory);
    icon.Draw(c, Rect{r.left - 20, textTop - 1, r.left - 4, textTop + 15}, selected);
}

void TVlFileListBox::Shown() {
    if (!readOnce_) ReadFileNames();
}

int TVlFileListBox::CachedIconCount() { return velmora::CachedIconCount(); }

void TVlFileListBox::UpdateItemHeight() {
    int h = GetTextLineHeight(Font()) - 3;
    if (showGlyphs_) h = std::max(h, 18);
    SetItemHeight(h);
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
    Invalidate();
}

void TVlFileListBox::SetShowLongNames(bool v) {
    if (v == showLongNames_) return;
    showLongNames_ = v;
    if (readOnce_) ReadFileNames();
}

void TVlFileListBox::SetColor(TColor c) {
    ListBox::SetColor(c);
    if (FrameVisible()) RepaintFrame();
}

std::string TVlFileListBox::FileName() const {
    const int row = ItemIndex();
    if (row < 0 || row >= int(infos_.size())) return {};
    return WithSlash(directory_) + infos_[size_t(row)]->Name;
}

std::vector<std::string> TVlFileListBox::FileNames() const {
    std::vector<std::string> names;
    names.reserve(infos_.size());
    for (const auto& info : infos_) names.push_back(info->Name);
    return names;
}

void TVlFileListBox::FreeFileInfos() { infos_.clear(); }

int TVlFileListBox::CompareFileInfos(const TVlFileInfo& a, const TVlFileInfo& b) const {
    if (a.SortKey && b.SortKey && a.IsDirectory == b.IsDirectory) return wb::CompareTextKeys(*a.SortKey, *b.SortKey);
    return CompareFileEntries(a.IsDirectory, a.Name, b.IsDirectory, b.Name);
}

void TVlFileListBox::Exchange(int i, int j) {
    if (i == j) return;
    std::swap(infos_[size_t(i)], infos_[size_t(j)]);
    // While the folder is read the items come after the sort, all at once.
    if (Count() != int(infos_.size())) return;
    const std::string t = ItemText(i);
    SetItemText(i, ItemText(j));
    SetItemText(j, t);
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
    Clear();

    std::vector<wb::FolderEntry> entries = wb::ReadFolder(directory_);
    // The folder's own order differs from disk to disk; names that sort
    // alike keep this one.
    std::sort(entries.begin(), entries.end(),
              [](const wb::FolderEntry& a, const wb::FolderEntry& b) { return a.name < b.name; });
    std::vector<uint32_t> attrs;
    attrs.reserve(entries.size());
    for (const wb::FolderEntry& e : entries) {
        uint32_t attr = 0;
        if (e.isDirectory) attr |= faDirectory;
        else if (!e.isRegular) attr |= faSysFile;
        if (!e.name.empty() && e.name[0] == '.') attr |= faHidden;
        if (e.readOnly) attr |= faReadOnly;
        attrs.push_back(attr);
    }

    std::optional<WaitCursor> busy;
    std::vector<bool> listed(entries.size());  // a name matching two patterns is listed once
    for (const std::string& pattern : SplitMask(mask_)) {
        for (size_t k = 0; k < entries.size(); ++k) {
            const wb::FolderEntry& e = entries[k];
            if (listed[k] || !FileTypeLists(fileType_, attrs[k]) || !MatchesMask(e.name, pattern)) continue;
            listed[k] = true;
            auto info = std::make_unique<TVlFileInfo>();
            info->Name = e.name;
            info->Attr = attrs[k];
            if (e.known) info->Time = PackedTime(std::time_t(e.modified));
            info->Size = e.size;
            info->IsDirectory = e.isDirectory;
            info->SortKey = wb::MakeTextSortKey(e.name);
            if (showGlyphs_) {
                const std::string path = WithSlash(directory_) + e.name;
                info->Icon = info->IsDirectory ? Icon::ForFile(path, true, false) : CachedFileIcon(path, e.name);
            }
            infos_.push_back(std::move(info));
            if (infos_.size() - 1 == 100 && !busy) busy.emplace();
        }
    }
    // Sorted once, then shown at once: the items go in in their final order.
    if (infos_.size() > 1) SortFileInfos(0, int(infos_.size()) - 1);
    std::vector<std::string> texts;
    texts.reserve(infos_.size());
    for (const auto& info : infos_) texts.push_back(info->Name);
    SetItems(texts);
    busy.reset();
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
        Clear();
        readOnce_ = true;
        Change();
        return;
    }
    directory_ = fs::current_path(ec).string();
    ReadFileNames();
}

void TVlFileListBox::SelectByName(const std::string& name) {
    // By the names' bytes: two names that differ only in bytes that are not
    // UTF-8 look alike on screen.
    const int n = int(infos_.size());
    for (int i = 0; i < n; ++i)
        if (infos_[size_t(i)]->Name == name) return SetItemIndex(i);
    for (int i = 0; i < n; ++i)
        if (wb::SameText(infos_[size_t(i)]->Name, name)) return SetItemIndex(i);
    SetItemIndex(-1);
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
        const int row = ItemIndex();
        const std::string selected = row >= 0 && row < int(infos_.size()) ? infos_[size_t(row)]->Name : std::string();
        if (filePart != selected) {
            SelectByName(filePart);
            Change();
            if (!fs::exists(WithSlash(dirPart) + filePart, ec))
                throw EInOutError("The " + editText + " file does not exist");
            if (ItemIndex() < 0) {
                SetMask(filePart);
                SelectByName(filePart);
            }
        }
    }
}

std::string TVlFileListBox::GetLongFileName() const { return MakeLongPath(FileName()); }
std::string TVlFileListBox::GetShortFileName() const { return MakeShortPath(FileName()); }

void TVlFileListBox::DblClick() {
    TVlFramed::DblClick();
    const int row = ItemIndex();
    if (row < 0 || row >= int(infos_.size())) return;
    const std::string text = infos_[size_t(row)]->Name;
    const std::string full = WithSlash(directory_) + text;
    if (wb::DirectoryExists(full)) {
        // The item's own text, taken against the folder listed (the current one).
        std::error_code ec;
        fs::current_path(directory_, ec);
        BeginUpdate();
        auto endUpdate = wb::OnScopeExit([&] { EndUpdate(); });
        SetPath(text);
    } else if (AllowOpen) {
        if (!TVlShell::Open(full)) TVlShell::ShowInfo("Could not open file.");
    }
}

void TVlFileListBox::RepaintFrame() {
    if (reading_) return;
    Repaint();
}

} // namespace velmora
