#pragma once
// A framed list of the files of one folder that match a mask, with the
// desktop's icons, kept in step with a directory list or tree.
#include <QIcon>
#include <QListWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tag_editor/controls/VlFramedWidget.h"
#include "tag_editor/controls/VlFsRules.h"

namespace velmora {

class TVlDirectoryTree;
class TVlDirectoryListBox;

struct TVlFileInfo {
    std::string Name;
    uint32_t Attr = 0;
    uint32_t Time = 0;     // packed date and time
    int64_t Size = 0;
    bool IsDirectory = false;
    QIcon Icon;
};

class TVlFileListBox : public TVlFramedWidget<QListWidget> {
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

    TColor FrameBackColor() const override { return color_; }

    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

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
    bool scrollPosted_ = false;
    int itemHeight_ = 18;
    TColor color_ = wb::gui::clWindow;
    std::vector<std::unique_ptr<TVlFileInfo>> infos_;
    TVlDirectoryTree* dirTree_ = nullptr;
    TVlDirectoryListBox* dirList_ = nullptr;
};

} // namespace velmora
