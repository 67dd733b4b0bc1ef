#include "tag_editor/controls/VlDirNotificationThread.h"

#include <poll.h>

#include "tag_editor/controls/VlDirectoryTree.h"

namespace velmora {

TVlDirNotificationThread::TVlDirNotificationThread(TVlDirectoryTree* tree)
    : tree_(tree), watcher_(nullptr) {
    if (watcher_.ReadyFd() >= 0)
        ready_ = std::make_unique<wb::gui::ReadNotifier>(watcher_.ReadyFd(), [this] { OnReady(); });
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

bool TVlDirNotificationThread::ChangeWaits(std::chrono::milliseconds limit) const {
    if (watcher_.ReadyFd() < 0) return false;
    pollfd p{watcher_.ReadyFd(), POLLIN, 0};
    return ::poll(&p, 1, int(limit.count())) > 0 && (p.revents & POLLIN);
}

void TVlDirNotificationThread::OnReady() {
    auto event = watcher_.TakeEvent();
    if (!event) return;
    if (*event == wb::DirWatcher::Event::FolderChange) {
        NotifyTree();
    } else {
        // New or vanished media: the drive nodes follow, then the selection.
        tree_->UpdateDriveNodes();
        tree_->ChangeStep(tree_->Current());
    }
    watcher_.Handled();
}

} // namespace velmora
