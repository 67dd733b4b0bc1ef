#pragma once
// A framed list of the files of one folder that match a mask, with the
// desktop's icons, kept in step with a directory list or tree.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/TextUtil.h"
#include "platform/gui/Icon.h"
#include "platform/gui/ListBox.h"
#include "tag_editor/controls/decoration/VlFrame.h"
#include "tag_editor/controls/filesystem/VlFsRules.h"

namespace velmora {

class TVlDirectoryTree;
class TVlDirectoryListBox;

struct TVlFileInfo {
    std::string Name;
    uint32_t Attr = 0;
    uint32_t Time = 0;     // packed date and time
    int64_t Size = 0;
    bool IsDirectory = false;
    wb::gui::Icon Icon;
    // The name made ready for sorting, when the list read it.
    std::optional<wb::TextSortKey> SortKey;
};

class TVlFileListBox : public TVlFramed<wb::gui::ListBox> {
public:
    explicit TVlFileListBox(wb::Component* owner = nullptr);
    TVlFileListBox(wb::gui::WinControl& parent, const std::string& name);
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
    virtual void SetColor(TColor c);

    // The full path of the selected file, by the bytes of its name; empty
    // when none is selected.
    std::string FileName() const;
    // The names as the folder gave them, in the list's order: what opens,
    // renames or lists a file. A name need not be UTF-8.
    std::vector<std::string> FileNames() const;
    // The names as shown, with replacement characters for bytes that are not UTF-8.
    std::vector<std::string> ItemTexts() const { return Items(); }
    const std::vector<std::unique_ptr<TVlFileInfo>>& FileInfos() const { return infos_; }
    TVlDirectoryTree* DirTree() const { return dirTree_; }
    TVlDirectoryListBox* DirList() const { return dirList_; }
    bool Reading() const { return reading_; }

    virtual void SetPath(const std::string& editText);
    void ChangeDirectory(const std::string& newDirectory);
    virtual std::string GetLongFileName() const;
    virtual std::string GetShortFileName() const;
    // Fires OnDblClick, then enters the folder or opens the file selected.
    void DblClick() override;

    void RepaintFrame() override;

    // After the list was read again, and after SetPath chose another file.
    wb::gui::TNotifyEvent OnChange;

    // The icon cache shared by every list, from extension to icon.
    static int CachedIconCount();

protected:
    virtual void FreeFileInfos();
    virtual int CompareFileInfos(const TVlFileInfo& a, const TVlFileInfo& b) const;
    virtual void SortFileInfos(int l, int r);
    virtual void ReadFileNames();
    virtual void Change();

    TColor FrameBackColor() const override { return Color(); }
    void DrawItem(wb::gui::Canvas& canvas, int index, const wb::gui::Rect& rect, bool selected) override;
    void FontChanged() override { UpdateItemHeight(); }
    void Shown() override;

private:
    friend class TVlDirectoryTree;
    friend class TVlDirectoryListBox;
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
    std::vector<std::unique_ptr<TVlFileInfo>> infos_;
    TVlDirectoryTree* dirTree_ = nullptr;
    TVlDirectoryListBox* dirList_ = nullptr;
};

} // namespace velmora
