#include "tag_editor/controls/filesystem/VlDirectoryTree.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <unordered_map>
#include <system_error>

#include "platform/base/File.h"
#include "platform/base/TextUtil.h"
#include "platform/gui/Cursors.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Label.h"
#include "tag_editor/controls/filesystem/VlDirNotificationThread.h"
#include "tag_editor/controls/filesystem/VlFileListBox.h"
#include "tag_editor/controls/filesystem/VlLFName.h"
#include "tag_editor/controls/filesystem/VlShell.h"

namespace velmora {

namespace fs = std::filesystem;
using namespace wb::gui;

namespace {

constexpr uint32_t kUnreadable = 0xFFFFFFFFu;

// A folder node owns its folder data; a placeholder, which only gives its
// parent an expand button, has none.
void SetFolder(TreeNode* node, std::string path) {
    auto info = std::make_shared<TFolderInfo>();
    info->Path = std::move(path);
    node->SetData(std::move(info));
}

void MakePlaceholder(TreeNode* node) { node->AddChild(":"); }

int CountSlashes(const std::string& s) { return CountChar('/', s); }

// The part of a path up to and including its k-th '/'.
std::string UpToSlash(const std::string& s, int k) { return CopyToNthChar(s, 1, '/', k); }

bool VisibleFolder(const fs::directory_entry& e) {
    std::string name = e.path().filename().string();
    if (name.empty() || name[0] == '.') return false;  // hidden folders never show
    std::error_code ec;
    // The entry's type as the listing gave it; a link still has to be followed.
    return e.is_directory(ec);
}

// The names of the folders a folder shows, in the tree's order; with
// `firstOnly`, at most one (whether there is any).
std::vector<std::string> FolderNames(const std::string& path, bool firstOnly = false) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        if (!VisibleFolder(*it)) continue;
        names.push_back(it->path().filename().string());
        if (firstOnly) return names;
    }
    std::sort(names.begin(), names.end(), FolderNameLess);
    return names;
}

bool HasFolders(const std::string& path) { return !FolderNames(path, true).empty(); }

// The last name of a folder path given with its trailing '/'.
std::string LeafName(const std::string& path) {
    const std::string p = WithoutSlash(path);
    return p.substr(p.rfind('/') + 1);
}

// Calls f(node, info) on every folder node from `node` down; placeholders
// hold no folder.
template <class F>
void ForEachFolder(TreeNode* node, F f) {
    for (std::vector<TreeNode*> stack{node}; !stack.empty();) {
        TreeNode* n = stack.back();
        stack.pop_back();
        TFolderInfo* info = TVlDirectoryTree::Info(n);
        if (!info) continue;
        f(n, *info);
        for (int i = 0; i < n->Count(); ++i) stack.push_back(n->Child(i));
    }
}

// Not drawn between its making and its end, also when something throws.
struct Updating {
    explicit Updating(TreeView& t) : tree(t) { tree.BeginUpdate(); }
    ~Updating() { tree.EndUpdate(); }
    TreeView& tree;
};

} // namespace

const char* const TVlDirectoryTree::kRenameError =
    "A directory name cannot contain any of the following characters:\n\\ / : * ? \" < > |";

TVlDirectoryTree::TVlDirectoryTree(wb::Component* owner) : TVlCustomTreeView(owner) {
    SetHideSelection(false);
    SetBounds(Left(), Top(), 250, 150);
}

TVlDirectoryTree::TVlDirectoryTree(WinControl& parent, const std::string& name) : TVlDirectoryTree(&parent) {
    Place(parent, name);
}

TVlDirectoryTree::~TVlDirectoryTree() {
    destroying_ = true;
    notifier_.reset();  // joins the watcher before anything it could reach goes
    if (fileList_ && fileList_->dirTree_ == this) fileList_->dirTree_ = nullptr;
    ++suppress_;
    Clear();
}

TFolderInfo* TVlDirectoryTree::Info(TreeNode* node) { return node ? static_cast<TFolderInfo*>(node->Data()) : nullptr; }

void TVlDirectoryTree::CreateWnd() {
    TVlCustomTreeView::CreateWnd();
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
    if (!done && RootCount() > 0 && !Current()) SetCurrent(Root(0));
}

void TVlDirectoryTree::DestroyWnd() {
    savedDirectory_ = GetDirectory();
    FreeNodeData();
    notifier_.reset();
    TVlCustomTreeView::DestroyWnd();
}

void TVlDirectoryTree::FrameVisibleChanged() {
    if (HandleAllocated()) RecreateWnd();
    RepaintFrame();
}

void TVlDirectoryTree::Showing() {
    HandleNeeded();
    TVlCustomTreeView::Showing();
}

std::vector<wb::Volume> TVlDirectoryTree::GetDriveMask() const {
    std::vector<wb::Volume> out;
    for (const wb::Volume& v : wb::Volumes()->List()) {
        if (TreeShowsDrive(v.kind, driveTypes_)) out.push_back(v);
    }
    return out;
}

std::pair<std::string, uint32_t> TVlDirectoryTree::DriveCaption(const std::string& root) {
    auto info = wb::Volumes()->Info(root);
    const std::string name = wb::DriveName(root);
    if (!info) return {"(" + name + ")", kUnreadable};
    return {CapitalizedLabel(info->label) + " (" + name + ")", info->serial};
}

uint32_t TVlDirectoryTree::VolumeSerial(const std::string& root) { return DriveCaption(root).second; }

uint32_t TVlDirectoryTree::LastSerial(const std::string& root) const {
    auto it = volumeSerials_.find(root);
    return it == volumeSerials_.end() ? 0 : it->second;
}

void TVlDirectoryTree::SetNodeImages(TreeNode* node, bool isDrive, wb::VolumeKind kind) {
    node->SetIcon(isDrive ? Icon::ForVolume(kind) : Icon::ForFile({}, true, false));
}

TreeNode* TVlDirectoryTree::AddDriveNode(const wb::Volume& v, int insertAt) {
    std::string text;
    if (v.kind != wb::VolumeKind::Removable) {
        auto [caption, serial] = DriveCaption(v.root);
        text = caption;
        volumeSerials_[v.root] = serial;
    } else {
        // The medium is not touched: the mount point's name stands for it.
        std::string name = wb::DriveName(v.root);
        text = name.substr(name.rfind('/') + 1) + " (" + name + ")";
    }
    TreeNode* node = AddRoot(text, insertAt);
    SetFolder(node, v.root);
    SetNodeImages(node, true, v.kind);
    if (LooksAheadOnDrive(v.kind))
        AddPlaceholder(node);
    else
        MakePlaceholder(node);
    return node;
}

void TVlDirectoryTree::FreeNodeData() { Clear(); }

void TVlDirectoryTree::RebuildDriveNodes() {
    if (!HandleAllocated()) return;
    rebuilding_ = true;
    WaitCursor wait;
    BeginUpdate();
    FreeNodeData();
    driveMask_.clear();
    for (const wb::Volume& v : GetDriveMask()) {
        driveMask_.push_back(v.root);
        AddDriveNode(v, -1);
    }
    EndUpdate();
    ScrollTo(Current());
    rebuilding_ = false;
}

void TVlDirectoryTree::UpdateDriveNodes() {
    if (!HandleAllocated()) return;
    rebuilding_ = true;
    BeginUpdate();
    std::vector<wb::Volume> fresh = GetDriveMask();
    auto has = [](const std::vector<std::string>& roots, const std::string& r) {
        return std::find(roots.begin(), roots.end(), r) != roots.end();
    };
    std::vector<std::string> freshRoots;
    for (const auto& v : fresh) freshRoots.push_back(v.root);
    for (const std::string& root : driveMask_) {
        if (has(freshRoots, root)) continue;
        if (TreeNode* node = FindNode(root)) {
            ReloadNode(node);
            node->Delete();
        }
    }
    for (const wb::Volume& v : fresh) {
        if (has(driveMask_, v.root)) continue;
        int at = -1;
        for (int i = 0; i < RootCount(); ++i) {
            TFolderInfo* info = Info(Root(i));
            if (info && info->Path > v.root) {
                at = i;
                break;
            }
        }
        AddDriveNode(v, at);
    }
    driveMask_ = freshRoots;
    rebuilding_ = false;
    EndUpdate();
    Invalidate();
}

TreeNode* TVlDirectoryTree::FindNode(const std::string& path) const {
    const std::string root = WithSlash(path);
    for (int i = 0; i < RootCount(); ++i) {
        TFolderInfo* info = Info(Root(i));
        if (!info) break;
        if (info->Path == root) return Root(i);
    }
    return nullptr;
}

void TVlDirectoryTree::AddPlaceholder(TreeNode* node) {
    TFolderInfo* info = Info(node);
    // A node with children, a placeholder among them, has its expand button.
    if (!info || info->ChildrenRead || node->Count() > 0) return;
    if (HasFolders(info->Path)) MakePlaceholder(node);
}

void TVlDirectoryTree::DropChildren(TreeNode* node) {
    // A selection below moves up to the node first, without a change event.
    if (Current() && Current()->HasAsParent(node)) {
        ++suppress_;
        SetCurrent(node);
        --suppress_;
    }
    node->DeleteChildren();
}

void TVlDirectoryTree::LoadChildren(TreeNode* node) {
    TFolderInfo* info = Info(node);
    if (!info || info->ChildrenRead) return;
    DropChildren(node);
    info->ChildrenRead = true;
    for (const std::string& name : FolderNames(info->Path)) AddFolderNode(node, name, -1);
}

TreeNode* TVlDirectoryTree::AddFolderNode(TreeNode* parent, const std::string& name, int index) {
    const std::string path = WithSlash(Info(parent)->Path + name);
    TreeNode* child = parent->AddChild(name, index);
    SetFolder(child, path);
    SetNodeImages(child, false, wb::VolumeKind::Fixed);
    // Its expand button, whether or not the view expands the parent again.
    AddPlaceholder(child);
    return child;
}

void TVlDirectoryTree::SyncNode(TreeNode* node, bool deep) {
    TFolderInfo* info = Info(node);
    if (!info) return;
    if (!info->ChildrenRead) {
        // Unread, it holds at most its placeholder: only its expand button can be out of date.
        const bool has = HasFolders(info->Path);
        if (has && node->Count() == 0) MakePlaceholder(node);
        if (!has && node->Count() > 0) node->DeleteChildren();
        return;
    }
    const std::vector<std::string> names = FolderNames(info->Path);
    // Children whose folder went are dropped; a selection in one moves up here.
    std::map<std::string, TreeNode*> kept;
    for (int i = node->Count() - 1; i >= 0; --i) {
        TreeNode* child = node->Child(i);
        TFolderInfo* ci = Info(child);
        const std::string name = ci ? LeafName(ci->Path) : std::string();
        if (ci && std::binary_search(names.begin(), names.end(), name, FolderNameLess)) {
            kept[name] = child;
            continue;
        }
        if (Current() && (Current() == child || Current()->HasAsParent(child))) SetCurrent(node);
        child->Delete();
    }
    // New folders go in among the rest in order, in one walk over both.
    int at = 0;
    for (const std::string& name : names) {
        if (auto it = kept.find(name); it != kept.end()) {
            if (deep) SyncNode(it->second, true);
            continue;
        }
        // By the names' bytes: a node's text shows a name that is not UTF-8 otherwise.
        while (at < node->Count() && Info(node->Child(at)) &&
               FolderNameLess(LeafName(Info(node->Child(at))->Path), name))
            ++at;
        AddFolderNode(node, name, at++);
    }
}

TreeNode* TVlDirectoryTree::NodeOfPath(TreeNode* driveNode, const std::string& path) const {
    TreeNode* node = driveNode;
    while (node && Info(node) && Info(node)->Path != path) {
        TreeNode* next = nullptr;
        for (int i = 0; i < node->Count() && !next; ++i) {
            TFolderInfo* info = Info(node->Child(i));
            if (info && path.compare(0, info->Path.size(), info->Path) == 0) next = node->Child(i);
        }
        node = next;
    }
    return node;
}

void TVlDirectoryTree::Expanding(TreeNode* node, bool& allow) {
    if (rebuilding_ || destroying_) return;
    {
        WaitCursor wait;
        LoadChildren(node);
        for (int i = 0; i < node->Count(); ++i) AddPlaceholder(node->Child(i));
    }
    TVlCustomTreeView::Expanding(node, allow);
    UpdateWatch();
}

void TVlDirectoryTree::ReloadNode(TreeNode* node) {
    TFolderInfo* info = Info(node);
    if (!info) return;
    DropChildren(node);
    info->ChildrenRead = false;
    AddPlaceholder(node);
}

TreeNode* TVlDirectoryTree::DriveNodeOf(TreeNode* node) const {
    while (node && node->Parent()) node = node->Parent();
    return node;
}

std::string TVlDirectoryTree::GetDirectory() const {
    if (!HandleAllocated()) return {};
    TFolderInfo* info = Info(Current());
    if (!info) return {};
    return WithoutSlash(info->Path);
}

std::string TVlDirectoryTree::GetDrive() const {
    if (GetDirectory().empty()) return {};
    TFolderInfo* info = Info(DriveNodeOf(Current()));
    return info ? info->Path : std::string();
}

void TVlDirectoryTree::SetDirectory(const std::string& given) {
    std::string path = given;
    // A network form ("//server/share/rest") is taken under the drive mounted
    // from that share; nothing happens when none is.
    std::string prefix, rest;
    if (SplitNetworkPath(given, prefix, rest)) {
        path.clear();
        for (const wb::Volume& v : wb::Volumes()->List()) {
            if (v.kind != wb::VolumeKind::Remote) continue;
            std::string remote = WithSlash(wb::Volumes()->RemoteName(v.root));
            if (wb::SameText(remote, prefix)) {
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
    if (!HandleAllocated()) return;

    WaitCursor wait;
    Updating updating(*this);
    // The drive node: the longest root among the nodes that holds the path,
    // spelt exactly, else without regard to case.
    TreeNode* node = nullptr;
    size_t best = 0;
    for (int pass = 0; pass < 2 && !node; ++pass) {
        for (int i = 0; i < RootCount(); ++i) {
            TFolderInfo* info = Info(Root(i));
            if (!info) break;
            const std::string& root = info->Path;
            if (root.size() > path.size() || root.size() <= best) continue;
            bool match = pass == 0 ? path.compare(0, root.size(), root) == 0
                                   : wb::SameText(path.substr(0, root.size()), root);
            if (match) {
                node = Root(i);
                best = root.size();
            }
        }
    }
    if (!node) return;
    const int from = CountSlashes(Info(node)->Path) + 1;
    const int to = CountSlashes(path);
    for (int i = from; i <= to; ++i) {
        LoadChildren(node);
        const std::string prefix = UpToSlash(path, i);
        TreeNode* next = nullptr;
        for (int pass = 0; pass < 2 && !next; ++pass) {
            for (int c = 0; c < node->Count(); ++c) {
                TFolderInfo* info = Info(node->Child(c));
                if (!info) break;
                if (pass == 0 ? info->Path == prefix : wb::SameText(info->Path, prefix)) {
                    next = node->Child(c);
                    break;
                }
            }
        }
        if (!next) return;
        node = next;
    }
    if (node != Current()) SetCurrent(node);
    ScrollTo(node);
}

void TVlDirectoryTree::Change(TreeNode* node) {
    if (suppress_ > 0) return;
    ChangeStep(node);
}

void TVlDirectoryTree::ChangeStep(TreeNode* node) {
    lastDrive_ = currentDrive_;
    if (destroying_ || rebuilding_) {
        currentDrive_ = GetDrive();
        return;
    }
    if (TFolderInfo* info = Info(node)) {
        TreeNode* driveNode = DriveNodeOf(node);
        const std::string root = Info(driveNode)->Path;
        if (VolumeSerial(root) != LastSerial(root)) {
            // Another medium: the drive is read again and stands for the selection.
            ReloadNode(driveNode);
            auto [text, serial] = DriveCaption(root);
            ++suppress_;
            driveNode->SetText(text);
            SetCurrent(driveNode);
            --suppress_;
            volumeSerials_[root] = serial;
            if (serial != kUnreadable && driveNode->Count() == 0) MakePlaceholder(driveNode);
            node = driveNode;
        }
        (void)info;
    }
    currentDrive_ = GetDrive();
    if (currentDrive_ != lastDrive_) DriveChange();
    if (fileList_) fileList_->ChangeDirectory(GetDirectory());
    UpdateDirLabel();
    UpdateWatch();
    TVlCustomTreeView::Change(node);
}

void TVlDirectoryTree::DriveChange() {
    if (notifier_) {
        notifier_->Resume();
        notifier_->SetDrive(GetDrive());
        UpdateWatch();
    }
    Fire(OnDriveChange, this);
}

void TVlDirectoryTree::UpdateWatch() {
    if (!notifier_ || notifier_->Drive().empty()) return;
    std::vector<std::string> folders;
    if (TreeNode* driveNode = FindNode(notifier_->Drive()))
        ForEachFolder(driveNode, [&](TreeNode*, TFolderInfo& info) { folders.push_back(WithoutSlash(info.Path)); });
    std::sort(folders.begin(), folders.end());
    if (folders != notifier_->Folders()) notifier_->SetFolders(std::move(folders));
}

std::vector<std::string> TVlDirectoryTree::WatchedFolders() const {
    return notifier_ ? notifier_->Folders() : std::vector<std::string>();
}

void TVlDirectoryTree::UpdateDirLabel() {
    ShowPathInLabel(dirLabel_, GetDirectory(), Width());
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

void TVlDirectoryTree::RefreshDrive(const std::string& root) { RefreshFolders(root, {}, true); }

void TVlDirectoryTree::RefreshFolders(const std::string& root, const std::vector<std::string>& folders, bool all) {
    if (destroying_ || rebuilding_ || !HandleAllocated()) return;
    TreeNode* driveNode = FindNode(root);
    if (!driveNode) return;
    const std::string cur = GetDirectory();
    const int scroll = ScrollPos();
    {
        Updating updating(*this);
        ++suppress_;
        struct Unsuppress {
            int& n;
            ~Unsuppress() { --n; }
        } unsuppress{suppress_};
        if (all) {
            const std::string drive = Info(driveNode)->Path;
            auto [text, serial] = DriveCaption(drive);
            if (serial != LastSerial(drive)) {
                // Another medium: nothing read of the old one holds.
                ReloadNode(driveNode);
                if (serial != kUnreadable && driveNode->Count() == 0) MakePlaceholder(driveNode);
            } else {
                SyncNode(driveNode, true);
            }
            driveNode->SetText(text);
            volumeSerials_[drive] = serial;
        }
        if (!all) {
            // Each node read once, however many of its folders were reported:
            // a folder that went itself is dropped by its parent's re-read.
            std::unordered_map<std::string, TreeNode*> nodes;
            ForEachFolder(driveNode, [&](TreeNode* n, TFolderInfo& info) { nodes.emplace(info.Path, n); });
            std::set<std::string> targets;
            for (const std::string& folder : folders) {
                auto it = nodes.find(WithSlash(folder));
                TreeNode* node = it == nodes.end() ? nullptr : it->second;
                while (node && node->Parent() && !wb::DirectoryExists(Info(node)->Path)) node = node->Parent();
                if (node) targets.insert(Info(node)->Path);
            }
            // Parents before children: a child's node may go with its parent's re-read.
            for (const std::string& path : targets)
                if (TreeNode* node = NodeOfPath(driveNode, path)) SyncNode(node, false);
        }
        if (!cur.empty() && GetDirectory() != cur) {
            try {
                SetDirectory(cur);
            } catch (const EInOutError&) {
                // The drive itself went: the selection stays where the re-read left it.
            }
        }
    }
    SetScrollPos(scroll);
    if (GetDirectory() != cur && Current()) {
        // One change for the fallback, once the tree is whole again.
        ScrollTo(Current());
        ChangeStep(Current());
    }
    UpdateWatch();
}

void TVlDirectoryTree::SetFileList(TVlFileListBox* list) {
    if (list == fileList_) return;
    if (fileList_ && fileList_->dirTree_ == this) fileList_->dirTree_ = nullptr;
    fileList_ = list;
    if (list) list->dirTree_ = this;
}

void TVlDirectoryTree::SetDirLabel(Label* label) {
    if (dirLabel_) RemoveFreeNotification(dirLabel_);
    dirLabel_ = label;
    // A label freed first is let go of, not drawn on.
    if (label) FreeNotification(label);
    UpdateDirLabel();
}

void TVlDirectoryTree::Notification(wb::Component* c, wb::Operation op) {
    if (op == wb::Operation::Remove && c == dirLabel_) dirLabel_ = nullptr;
    TVlCustomTreeView::Notification(c, op);
}

void TVlDirectoryTree::SetDriveTypes(TDriveTypes t) {
    if (t == driveTypes_) return;
    driveTypes_ = t;
    UpdateDriveNodes();
}

void TVlDirectoryTree::SetReadOnly(bool v) { readOnly_ = v; }

void TVlDirectoryTree::ClickSelected() {
    TreeNode* node = Current();
    TFolderInfo* info = Info(node);
    if (!info) return;
    const std::string root = Info(DriveNodeOf(node))->Path;
    if (VolumeSerial(root) == LastSerial(root))
        TVlCustomTreeView::Click();
    else
        ChangeStep(node);
}

void TVlDirectoryTree::Click() { ClickSelected(); }

void TVlDirectoryTree::KeyDown(int& key, TShiftState shift) {
    TVlCustomTreeView::KeyDown(key, shift);
    if (key == VK_F2 && !readOnly_) {
        TreeNode* node = Current();
        // Drive nodes are never renamed.
        if (Info(node) && node->Parent() && EditNode(node)) key = 0;
    }
}

void TVlDirectoryTree::Edited(TreeNode* node, std::string& text) {
    RenameNode(node, text);
    TVlCustomTreeView::Edited(node, text);
}

bool TVlDirectoryTree::RenameNode(TreeNode* node, std::string& text) {
    TFolderInfo* info = Info(node);
    if (!info || !node->Parent()) return false;
    const std::string oldText = node->Text();
    // Names that would leave the parent folder or that the disk cannot hold
    // are refused before anything moves.
    bool bad = !ValidFolderName(text);
    const std::string oldPath = WithoutSlash(info->Path);
    const std::string parentPath = Info(node->Parent())->Path;
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
    node->SetText(text);
    // The node and everything below it take the new path at once.
    const std::string oldPrefix = WithSlash(oldPath), newPrefix = WithSlash(newPath);
    ForEachFolder(node, [&](TreeNode*, TFolderInfo& i) {
        if (i.Path.compare(0, oldPrefix.size(), oldPrefix) == 0) i.Path = newPrefix + i.Path.substr(oldPrefix.size());
    });
    ChangeStep(node);
    return true;
}

} // namespace velmora
