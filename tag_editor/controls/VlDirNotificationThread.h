#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/base/DirWatcher.h"

class QSocketNotifier;

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

private:
    void OnReady();

    TVlDirectoryTree* tree_;
    std::string drive_;
    std::vector<std::string> folders_;
    wb::DirWatcher watcher_;
    std::unique_ptr<QSocketNotifier> ready_;
};

} // namespace velmora
