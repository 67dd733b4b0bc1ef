#include "tag_editor/controls/VlDirNotificationThread.h"

#include <QSocketNotifier>

#include "tag_editor/controls/VlDirectoryTree.h"

namespace velmora {

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

} // namespace velmora
