#pragma once
// The file-system controls: a framed file list with desktop icons, a drive
// box, a directory list, and the directory tree with its change watcher.
// A drive is a volume of the shared drive table, named by its root path.
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPointer>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/DirWatcher.h"
#include "platform/base/Volumes.h"
#include "tag_editor/controls/VlCommon.h"
#include "tag_editor/controls/VlTreeVw.h"

class QSocketNotifier;
class TVlDirectoryTree;
class TVlDirectoryListBox;

// Drive kinds in the order of the platform's drive-type codes 0 to 6.
enum TDriveType { dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };

using TDriveTypes = TVlSet<TDriveType>;

TDriveType DriveTypeOf(wb::VolumeKind kind);

// File attributes as the list filters them. On Linux: hidden is a leading
// dot, read-only is "not writable by this user", system is anything neither
// a regular file nor a folder (devices, sockets, pipes); volume id and
// archive are never set.
enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };

using TFileType = TVlSet<TFileAttr>;

constexpr uint32_t faReadOnly = 1, faHidden = 2, faSysFile = 4, faVolumeID = 8, faDirectory = 16,
                   faArchive = 32;

// True when a name matches a pattern of '*' and '?', without regard to case;
// "*.*" matches every name.
bool MatchesMask(const std::string& name, const std::string& pattern);

struct TVlFileInfo {
    std::string Name;
    uint32_t Attr = 0;
    uint32_t Time = 0;     // packed date and time
    int64_t Size = 0;
    bool IsDirectory = false;
    QIcon Icon;
};

// How the list shows a message and opens a file with the desktop. Tests put
// their own in place.
struct TVlShell {
    static std::function<void(const std::string& text)> ShowInfo;
    static std::function<void(const std::string& text)> ShowError;
    static std::function<bool(const std::string& path)> Open;
};

class TVlFileListBox : public QListWidget, public TVlFrameControl {
    Q_OBJECT
public:
    explicit TVlFileListBox(QWidget* parent = nullptr);
    ~TVlFileListBox() override;

    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& dir) { SetPath(dir); }
    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& mask);
    TFileType FileType() const { return fileType_; }
    void SetFileType(TFileType t);
    bool ShowGlyphs() const { return showGlyphs_; }
    virtual void SetShowGlyphs(bool v);
    bool ShowLongNames() const { return showLongNames_; }
    virtual void SetShowLongNames(bool v);
    bool AllowOpen = false;
    TColor Color() const { return color_; }
    virtual void SetColor(TColor c);

    // The full path of the selected file; empty when none is selected.
    std::string FileName() const;
    int ItemIndex() const { return currentRow(); }
    std::vector<std::string> ItemTexts() const;
    const std::vector<std::unique_ptr<TVlFileInfo>>& FileInfos() const { return infos_; }
    TVlDirectoryTree* DirTree() const { return dirTree_; }
    TVlDirectoryListBox* DirList() const { return dirList_; }
    bool Reading() const { return reading_; }
    int ItemHeight() const { return itemHeight_; }

    virtual void SetPath(const std::string& editText);
    void ChangeDirectory(const std::string& newDirectory);
    virtual std::string GetLongFileName() const;
    virtual std::string GetShortFileName() const;
    // What a double click does after OnDblClick.
    void DblClick();

    void RepaintFrame() override;

    TNotifyEvent OnChange, OnDblClick;

    // The icon cache shared by every list, from extension to icon.
    static int CachedIconCount();

protected:
    virtual void FreeFileInfos();
    virtual int CompareFileInfos(const TVlFileInfo& a, const TVlFileInfo& b) const;
    virtual void SortFileInfos(int l, int r);
    virtual void ReadFileNames();
    virtual void Change();

    bool FrameHasFocus() const override { return hasFocus(); }
    void FrameVisibleChanged() override;

    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    friend class TVlDirectoryTree;
    friend class TVlDirectoryListBox;
    friend class TVlFileItemDelegate;
    void UpdateItemHeight();
    void SelectByName(const std::string& name);
    void Exchange(int i, int j);

    std::string directory_;
    std::string mask_ = "*.*";
    TFileType fileType_{ftNormal};
    bool showGlyphs_ = true;
    bool showLongNames_ = true;
    bool reading_ = false;
    bool readOnce_ = false;
    int itemHeight_ = 18;
    TColor color_ = wb::gui::clWindow;
    std::vector<std::unique_ptr<TVlFileInfo>> infos_;
    TVlDirectoryTree* dirTree_ = nullptr;
    TVlDirectoryListBox* dirList_ = nullptr;
};

class TVlDriveComboBox : public QComboBox, public TVlFrameControl {
    Q_OBJECT
public:
    explicit TVlDriveComboBox(QWidget* parent = nullptr);
    ~TVlDriveComboBox() override;

    // Rebuilds the items from the drive table.
    void FillDriveList();
    // The root of the selected drive; setting it selects and fires OnChange.
    std::string Drive() const;
    void SetDrive(const std::string& root);
    TDriveTypes DriveTypes() const { return driveTypes_; }
    void SetDriveTypes(TDriveTypes t);
    bool FlatButtons() const { return flatButtons_; }
    void SetFlatButtons(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TVlDirectoryListBox* DirList() const { return dirList_; }
    void SetDirList(TVlDirectoryListBox* list) { dirList_ = list; }
    std::vector<std::string> ItemTexts() const;

    void UpdateFrame(bool viaMouse, bool inFocus) override;
    void RepaintFrame() override;

    TNotifyEvent OnChange;

    // The texts the box shows for a drive.
    static std::string VolumeLabel(const std::string& root);
    static std::string NetworkName(const std::string& root);

protected:
    bool FrameHasFocus() const override { return focused_; }
    void FrameVisibleChanged() override;
    void FrameInvalidate() override { update(); }

    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    TDriveTypes driveTypes_{dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM};
    bool flatButtons_ = true;
    bool focused_ = false;
    bool filling_ = false;
    TColor color_ = wb::gui::clWindow;
    TVlDirectoryListBox* dirList_ = nullptr;
};

class TVlDirectoryListBox : public QListWidget, public TVlFrameControl {
    Q_OBJECT
public:
    explicit TVlDirectoryListBox(QWidget* parent = nullptr);
    ~TVlDirectoryListBox() override;

    const std::string& Directory() const { return directory_; }
    // Walks up to the nearest existing folder, lists it and fires OnChange.
    void SetDirectory(const std::string& dir);
    TVlFileListBox* FileList() const { return fileList_; }
    void SetFileList(TVlFileListBox* list);
    QLabel* DirLabel() const { return dirLabel_; }
    void SetDirLabel(QLabel* label);
    bool ShowLongNames() const { return showLongNames_; }
    void SetShowLongNames(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    std::vector<std::string> ItemTexts() const;
    // The indent of an item, in pixels.
    int ItemIndent(int index) const;

    void RepaintFrame() override;
    TNotifyEvent OnChange;

protected:
    bool FrameHasFocus() const override { return hasFocus(); }
    void FrameVisibleChanged() override { RepaintFrame(); }
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    friend class TVlDirItemDelegate;
    friend class TVlFileListBox;
    void BuildList();
    void UpdateDirLabel();

    std::string directory_;
    int pathCount_ = 0;  // items that are elements of the path
    bool showLongNames_ = true;
    TColor color_ = wb::gui::clWindow;
    TVlFileListBox* fileList_ = nullptr;
    QPointer<QLabel> dirLabel_;
};

// Node data of the directory tree.
struct TFolderInfo {
    std::string Path;         // with a trailing '/'
    bool ChildrenRead = false;
};

class TVlDirNotificationThread;

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
