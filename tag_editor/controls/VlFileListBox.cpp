#include "tag_editor/controls/VlFileListBox.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>

#include "platform/base/File.h"
#include "platform/base/TextUtil.h"
#include "platform/gui/Cursors.h"
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
    return CompareFileEntries(a.IsDirectory, a.Name, b.IsDirectory, b.Name);
}

void TVlFileListBox::Exchange(int i, int j) {
    if (i == j) return;
    std::swap(infos_[size_t(i)], infos_[size_t(j)]);
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

    std::optional<WaitCursor> busy;
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
                info->Icon = info->IsDirectory ? Icon::ForFile(e.path.string(), true, false)
                                               : CachedFileIcon(e.path.string(), e.name);
            AddItem(e.name);
            infos_.push_back(std::move(info));
            if (Count() - 1 == 100 && !busy) busy.emplace();
        }
    }
    if (Count() > 1) {
        BeginUpdate();
        SortFileInfos(0, Count() - 1);
        EndUpdate();
    }
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
        try {
            SetPath(text);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    } else if (AllowOpen) {
        if (!TVlShell::Open(full)) TVlShell::ShowInfo("Could not open file.");
    }
}

void TVlFileListBox::RepaintFrame() {
    if (reading_) return;
    Repaint();
}

} // namespace velmora
