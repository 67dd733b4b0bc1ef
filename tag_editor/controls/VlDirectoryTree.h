#pragma once
// The folder browser: one node per drive, the folders below read from disk
// when a node opens, kept in step with a file list and a path label, with a
// watcher that makes the tree re-read its drive when folders change.
#include <QLabel>
#include <QPointer>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Volumes.h"
#include "tag_editor/controls/VlFsRules.h"
#include "tag_editor/controls/VlTreeVw.h"

namespace velmora {

class TVlDirNotificationThread;
class TVlFileListBox;

// Node data of the directory tree.
struct TFolderInfo {
    std::string Path;         // with a trailing '/'
    bool ChildrenRead = false;
};

class TVlDirectoryTree : public TVlCustomTreeView {
    Q_OBJECT
public:
    explicit TVlDirectoryTree(QWidget* parent = nullptr);
    ~TVlDirectoryTree() override;

    // The window's life: created on first show (or on demand), destroyed and
    // made again when the frame is switched on or off, and with the tree.
    void HandleNeeded();
    bool HandleAllocated() const { return handle_; }
    void RecreateWnd();
    // After a form was loaded: the drives again and the current folder.
    void Loaded();

    virtual std::string GetDirectory() const;
    virtual void SetDirectory(const std::string& path);
    virtual std::string GetDrive() const;
    virtual void RefreshTree();
    void RefreshDrive(const std::string& root);
    std::string Directory() const { return GetDirectory(); }

    TVlFileListBox* FileList() const { return fileList_; }
    virtual void SetFileList(TVlFileListBox* list);
    QLabel* DirLabel() const { return dirLabel_; }
    virtual void SetDirLabel(QLabel* label);
    TDriveTypes DriveTypes() const { return driveTypes_; }
    virtual void SetDriveTypes(TDriveTypes t);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);

    // The node of a drive root, or null.
    QTreeWidgetItem* FindNode(const std::string& path) const;
    static TFolderInfo* Info(QTreeWidgetItem* node);
    // The texts of a drive node for a root: caption and serial.
    static std::pair<std::string, uint32_t> DriveCaption(const std::string& root);
    static uint32_t VolumeSerial(const std::string& root);
    uint32_t LastSerial(const std::string& root) const;
    TVlDirNotificationThread* Notifier() const { return notifier_.get(); }
    // The folders the watcher watches now.
    std::vector<std::string> WatchedFolders() const;

    // In-place rename: what the editor's end does with the new text. Returns
    // false (and shows the error) when the folder was not renamed.
    bool RenameNode(QTreeWidgetItem* node, std::string& text);
    // A click on the selected node.
    void ClickSelected();

    virtual void UpdateDriveNodes();
    void DriveChange();

    std::function<void(QObject* sender, QTreeWidgetItem* node)> OnChange;
    TNotifyEvent OnDriveChange, OnClick;
    std::function<void(QObject* sender, QTreeWidgetItem* node)> OnExpanding;

    static const char* const kRenameError;

protected:
    virtual void RebuildDriveNodes();
    virtual void FreeNodeData();
    virtual void ReloadNode(QTreeWidgetItem* node);
    virtual void UpdateDirLabel();
    virtual std::vector<wb::Volume> GetDriveMask() const;
    void FrameVisibleChanged() override;

    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void CreateWnd();
    void DestroyWnd();
    void ChangeStep(QTreeWidgetItem* node);
    void OnCurrentChanged(QTreeWidgetItem* current);
    void OnExpanded(QTreeWidgetItem* node);
    void OnEdited(QTreeWidgetItem* node, int column);
    QTreeWidgetItem* AddDriveNode(const wb::Volume& v, int insertAt);
    void AddPlaceholder(QTreeWidgetItem* node);
    void DropChildren(QTreeWidgetItem* node);
    void LoadChildren(QTreeWidgetItem* node);
    void SetNodeImages(QTreeWidgetItem* node, bool isDrive, wb::VolumeKind kind);
    QTreeWidgetItem* DriveNodeOf(QTreeWidgetItem* node) const;
    void UpdateWatch();
    void HandleWatcher();

    TVlFileListBox* fileList_ = nullptr;
    QPointer<QLabel> dirLabel_;
    std::string savedDirectory_;
    bool rebuilding_ = false;
    bool handle_ = false;
    bool destroying_ = false;
    bool readOnly_ = true;
    bool editing_ = false;
    std::unique_ptr<TVlDirNotificationThread> notifier_;
    std::vector<std::string> driveMask_;  // roots shown now
    TDriveTypes driveTypes_{dtUnknown, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM};
    std::map<std::string, uint32_t> volumeSerials_;
    std::string currentDrive_;
    std::string lastDrive_;
    std::string editOldText_;
    QTreeWidgetItem* editNode_ = nullptr;
    int suppress_ = 0;  // selection moves made here, not by the user
    friend class TVlDirNotificationThread;
    friend class TVlFileListBox;
};

} // namespace velmora
