#pragma once
// The tree's change watcher. Every call below runs on the GUI thread; the
// watching itself runs on the wb::DirWatcher's own thread, which announces a
// change through a descriptor that the GUI event loop watches. The tree
// re-reads its drive there, and only then may the next change be announced.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/DirWatcher.h"
#include "platform/gui/ReadNotifier.h"

namespace velmora {

class TVlDirectoryTree;

// The watcher of one tree window: watches the folders the tree has read on
// the selected drive and hands each change to the GUI thread, where the tree
// re-reads that drive.
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
    // Waits up to `limit` until a change has been seen and waits for the GUI
    // thread to take it; true when one does. The tree takes it from the
    // event loop, so this tells only while that loop does not run.
    bool ChangeWaits(std::chrono::milliseconds limit) const;

private:
    void OnReady();

    TVlDirectoryTree* tree_;
    std::string drive_;
    std::vector<std::string> folders_;
    wb::DirWatcher watcher_;
    std::unique_ptr<wb::gui::ReadNotifier> ready_;
};

} // namespace velmora
