#include "tag_editor/controls/VlDirectoryTree.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/base/File.h"
#include "platform/base/TextUtil.h"
#include "tag_editor/controls/VlDirNotificationThread.h"
#include "platform/gui/WidgetSupport.h"
#include "tag_editor/controls/VlFileListBox.h"
#include "tag_editor/controls/VlLFName.h"
#include "tag_editor/controls/VlShell.h"

namespace velmora {

namespace fs = std::filesystem;
using namespace wb::gui;

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

void TVlDirectoryTree::SetNodeImages(QTreeWidgetItem* node, bool isDrive, wb::VolumeKind kind) {
    node->setIcon(0, wb::gui::IconAccess::ToQIcon(isDrive ? wb::gui::Icon::ForVolume(kind) : wb::gui::Icon::ForFile({}, true, false)));
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
    if (LooksAheadOnDrive(v.kind))
        AddPlaceholder(node);
    else
        node->addChild(MakePlaceholder());
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
    // A node with children, a placeholder among them, has its expand button.
    if (!info || info->ChildrenRead || node->childCount() > 0) return;
    std::error_code ec;
    for (fs::directory_iterator it(info->Path, ec), end; !ec && it != end; it.increment(ec)) {
        if (VisibleFolder(*it)) {
            node->addChild(MakePlaceholder());
            return;
        }
    }
}

void TVlDirectoryTree::DropChildren(QTreeWidgetItem* node) {
    // A selection below moves up to the node first, without a change event.
    if (IsDescendant(currentItem(), node)) {
        ++suppress_;
        setCurrentItem(node);
        --suppress_;
    }
    qDeleteAll(node->takeChildren());
}

void TVlDirectoryTree::LoadChildren(QTreeWidgetItem* node) {
    TFolderInfo* info = Info(node);
    if (!info || info->ChildrenRead) return;
    DropChildren(node);
    info->ChildrenRead = true;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(info->Path, ec), end; !ec && it != end; it.increment(ec))
        if (VisibleFolder(*it)) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end(), FolderNameLess);
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
    DropChildren(node);
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
                                   : wb::SameText(path.substr(0, root.size()), root);
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
                if (pass == 0 ? info->Path == prefix : wb::SameText(info->Path, prefix)) {
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
    ShowPathInLabel(dirLabel_, GetDirectory(), width());
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
    bool bad = !ValidFolderName(text);
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

} // namespace velmora
