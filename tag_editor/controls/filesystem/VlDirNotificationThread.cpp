#include "tag_editor/controls/filesystem/VlDirNotificationThread.h"

#include "tag_editor/controls/filesystem/VlDirectoryTree.h"

namespace velmora {

TVlDirNotificationThread::TVlDirNotificationThread(TVlDirectoryTree* tree)
    : tree_(tree), timer_(std::make_unique<wb::gui::Timer>()), watcher_(nullptr) {
    timer_->SetEnabled(false);
    timer_->SetInterval(kRereadDelayMs);
    timer_->SetOnTimer([this](wb::Persistent*) { Reread(); });
    if (watcher_.ReadyFd() >= 0)
        ready_ = std::make_unique<wb::gui::ReadNotifier>(watcher_.ReadyFd(), [this] { OnReady(); });
}

TVlDirNotificationThread::~TVlDirNotificationThread() {
    ready_.reset();
    timer_.reset();
    watcher_.Stop();
}

void TVlDirNotificationThread::SetDrive(const std::string& root) {
    drive_ = root;
    folders_.clear();
    // What changed on the drive left behind does not concern the new one.
    changed_.clear();
    changedAll_ = pending_ = false;
    timer_->SetEnabled(false);
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

void TVlDirNotificationThread::FoldersChanged(const std::vector<std::string>& folders, bool all) {
    changed_.insert(folders.begin(), folders.end());
    changedAll_ = changedAll_ || all;
    if (pending_) return;
    pending_ = true;
    timer_->SetEnabled(true);
}

void TVlDirNotificationThread::Reread() {
    timer_->SetEnabled(false);
    if (!pending_) return;
    pending_ = false;
    std::vector<std::string> folders(changed_.begin(), changed_.end());
    const bool all = changedAll_;
    changed_.clear();
    changedAll_ = false;
    ++rereads_;
    if (!drive_.empty()) tree_->RefreshFolders(drive_, folders, all);
}

bool TVlDirNotificationThread::ChangeWaits(std::chrono::milliseconds limit) const {
    return watcher_.WaitReady(limit);
}

void TVlDirNotificationThread::OnReady() {
    auto event = watcher_.TakeEvent();
    if (!event) return;
    if (*event == wb::DirWatcher::Event::FolderChange) {
        bool all = false;
        std::vector<std::string> folders = watcher_.TakeChangedFolders(all);
        FoldersChanged(folders, all);
    } else {
        // New or vanished media: the drive nodes follow, then the selection.
        tree_->UpdateDriveNodes();
        tree_->ChangeStep(tree_->Current());
    }
    watcher_.Handled();
}

} // namespace velmora
