#pragma once
// The tree's change watcher. Every call below runs on the GUI thread; the
// watching itself runs on the wb::DirWatcher's own thread, which announces a
// change through a descriptor that the GUI event loop watches. There the
// changed folders are taken at once; they wait, with whatever else changes
// meanwhile, for one re-read that a timer runs a moment later, so a burst
// of changes under a busy folder costs one re-read and not one each.
#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/base/DirWatcher.h"
#include "platform/gui/ReadNotifier.h"
#include "platform/gui/Timer.h"

namespace velmora {

class TVlDirectoryTree;

// The watcher of one tree window: watches the folders the tree has read on
// the selected drive and hands the changes to the GUI thread, where the tree
// reads again the folders that changed.
class TVlDirNotificationThread {
public:
    explicit TVlDirNotificationThread(TVlDirectoryTree* tree);
    ~TVlDirNotificationThread();

    void SetDrive(const std::string& root);
    const std::string& Drive() const { return drive_; }
    void Resume();
    bool Suspended() const { return !watcher_.Started(); }
    void SetFolders(std::vector<std::string> folders);
    const std::vector<std::string>& Folders() const { return folders_; }
    // Runs on the GUI thread: the tree re-reads the drive.
    void NotifyTree();
    // Folders of the drive whose subfolders changed (any of them when
    // `all`): kept for the pending re-read, which starts the timer if none
    // was pending.
    void FoldersChanged(const std::vector<std::string>& folders, bool all);
    bool RereadPending() const { return pending_; }
    // What the timer runs: the tree reads the changed folders again now.
    void Reread();
    // The re-reads made so far.
    int Rereads() const { return rereads_; }
    // At most one re-read per this; changes gather a little longer, as the
    // system's timer may run up to 5% early.
    static constexpr int kRereadGapMs = 100;
    static constexpr int kRereadDelayMs = kRereadGapMs * 21 / 20;
    // Waits up to `limit` until a change has been seen and waits for the GUI
    // thread to take it; true when one does. The tree takes it from the
    // event loop, so this tells only while that loop does not run.
    bool ChangeWaits(std::chrono::milliseconds limit) const;

private:
    void OnReady();

    TVlDirectoryTree* tree_;
    std::string drive_;
    std::vector<std::string> folders_;
    std::set<std::string> changed_;
    bool changedAll_ = false;
    bool pending_ = false;
    int rereads_ = 0;
    std::unique_ptr<wb::gui::Timer> timer_;
    wb::DirWatcher watcher_;
    std::unique_ptr<wb::gui::ReadNotifier> ready_;
};

} // namespace velmora
