#pragma once
// The folder browser: one node per drive, the folders below read from disk
// when a node opens, kept in step with a file list and a path label, with a
// watcher that makes the tree read again the folders that changed.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Volumes.h"
#include "tag_editor/controls/filesystem/VlFsRules.h"
#include "tag_editor/controls/filesystem/VlTreeVw.h"

namespace wb::gui {
class Label;
}

namespace velmora {

class TVlDirNotificationThread;
class TVlFileListBox;

// Node data of the directory tree.
struct TFolderInfo {
    std::string Path;         // with a trailing '/'
    bool ChildrenRead = false;
};

class TVlDirectoryTree : public TVlCustomTreeView {
public:
    explicit TVlDirectoryTree(wb::Component* owner = nullptr);
    TVlDirectoryTree(wb::gui::WinControl& parent, const std::string& name);
    ~TVlDirectoryTree() override;

    // The nodes live with the control's window: made on first show (or on
    // demand), made again when the frame is switched on or off.
    void HandleNeeded() { Handle(); }

    virtual std::string GetDirectory() const;
    virtual void SetDirectory(const std::string& path);
    virtual std::string GetDrive() const;
    virtual void RefreshTree();
    // Brings every read folder of a drive in line with the disk.
    void RefreshDrive(const std::string& root);
    // Brings these read folders of a drive (every one when `all`) in line
    // with the disk: the nodes of folders still there stay as they are, with
    // their expansion, the selection and the scroll position; new folders
    // appear in their place; a current folder that went falls back to its
    // nearest parent that is still there.
    void RefreshFolders(const std::string& root, const std::vector<std::string>& folders, bool all);
    std::string Directory() const { return GetDirectory(); }

    TVlFileListBox* FileList() const { return fileList_; }
    virtual void SetFileList(TVlFileListBox* list);
    wb::gui::Label* DirLabel() const { return dirLabel_; }
    virtual void SetDirLabel(wb::gui::Label* label);
    TDriveTypes DriveTypes() const { return driveTypes_; }
    virtual void SetDriveTypes(TDriveTypes t);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);

    // The node of a drive root, or null.
    wb::gui::TreeNode* FindNode(const std::string& path) const;
    static TFolderInfo* Info(wb::gui::TreeNode* node);
    // The texts of a drive node for a root: caption and serial.
    static std::pair<std::string, uint32_t> DriveCaption(const std::string& root);
    static uint32_t VolumeSerial(const std::string& root);
    uint32_t LastSerial(const std::string& root) const;
    TVlDirNotificationThread* Notifier() const { return notifier_.get(); }
    // The folders the watcher watches now.
    std::vector<std::string> WatchedFolders() const;

    // In-place rename: what the editor's end does with the new text. Returns
    // false (and shows the error) when the folder was not renamed.
    bool RenameNode(wb::gui::TreeNode* node, std::string& text);
    // A click on the selected node.
    void ClickSelected();

    virtual void UpdateDriveNodes();
    void DriveChange();

    wb::gui::TNotifyEvent OnDriveChange;

    static const char* const kRenameError;

protected:
    virtual void RebuildDriveNodes();
    virtual void FreeNodeData();
    virtual void ReloadNode(wb::gui::TreeNode* node);
    virtual void UpdateDirLabel();
    virtual std::vector<wb::Volume> GetDriveMask() const;
    void FrameVisibleChanged() override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(wb::Component* c, wb::Operation op) override;

    void Showing() override;
    void KeyDown(int& key, wb::gui::TShiftState shift) override;
    void Change(wb::gui::TreeNode* node) override;
    void Expanding(wb::gui::TreeNode* node, bool& allow) override;
    void Click() override;
    void Edited(wb::gui::TreeNode* node, std::string& text) override;

private:
    void ChangeStep(wb::gui::TreeNode* node);
    wb::gui::TreeNode* AddDriveNode(const wb::Volume& v, int insertAt);
    void AddPlaceholder(wb::gui::TreeNode* node);
    void DropChildren(wb::gui::TreeNode* node);
    void LoadChildren(wb::gui::TreeNode* node);
    wb::gui::TreeNode* AddFolderNode(wb::gui::TreeNode* parent, const std::string& name, int index);
    void SyncNode(wb::gui::TreeNode* node, bool deep);
    wb::gui::TreeNode* NodeOfPath(wb::gui::TreeNode* driveNode, const std::string& path) const;
    void SetNodeImages(wb::gui::TreeNode* node, bool isDrive, wb::VolumeKind kind);
    wb::gui::TreeNode* DriveNodeOf(wb::gui::TreeNode* node) const;
    void UpdateWatch();

    TVlFileListBox* fileList_ = nullptr;
    wb::gui::Label* dirLabel_ = nullptr;
    std::string savedDirectory_;
    bool rebuilding_ = false;
    bool destroying_ = false;
    bool readOnly_ = true;
    std::unique_ptr<TVlDirNotificationThread> notifier_;
    std::vector<std::string> driveMask_;  // roots shown now
    TDriveTypes driveTypes_{dtUnknown, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM};
    std::map<std::string, uint32_t> volumeSerials_;
    std::string currentDrive_;
    std::string lastDrive_;
    int suppress_ = 0;  // selection moves made here, not by the user
    friend class TVlDirNotificationThread;
    friend class TVlFileListBox;
};

} // namespace velmora
