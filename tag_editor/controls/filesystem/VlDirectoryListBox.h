#pragma once
// A framed list of a folder's path, one element a line, and its visible
// subfolders; it points a file list and a path label at the folder shown.
#include <string>
#include <vector>

#include "platform/gui/Label.h"
#include "platform/gui/ListBox.h"
#include "tag_editor/controls/decoration/VlFrame.h"

namespace velmora {

class TVlFileListBox;

class TVlDirectoryListBox : public TVlFramed<wb::gui::ListBox> {
public:
    explicit TVlDirectoryListBox(wb::Component* owner = nullptr);
    TVlDirectoryListBox(wb::gui::WinControl& parent, const std::string& name);
    ~TVlDirectoryListBox() override;

    const std::string& Directory() const { return directory_; }
    // Walks up to the nearest existing folder, lists it and fires OnChange.
    void SetDirectory(const std::string& dir);
    TVlFileListBox* FileList() const { return fileList_; }
    void SetFileList(TVlFileListBox* list);
    wb::gui::Label* DirLabel() const { return dirLabel_; }
    void SetDirLabel(wb::gui::Label* label);
    bool ShowLongNames() const { return showLongNames_; }
    void SetShowLongNames(bool v);
    void SetColor(TColor c);
    std::vector<std::string> ItemTexts() const { return Items(); }
    // The indent of an item, in pixels.
    int ItemIndent(int index) const;

    wb::gui::TNotifyEvent OnChange;

protected:
    TColor FrameBackColor() const override { return Color(); }
    void DrawItem(wb::gui::Canvas& canvas, int index, const wb::gui::Rect& rect, bool selected) override;
    void DblClick() override;
    void FontChanged() override;
    void Notification(wb::Component* c, wb::Operation op) override;

private:
    friend class TVlFileListBox;
    void BuildList();
    void UpdateDirLabel();

    std::string directory_;
    int pathCount_ = 0;  // items that are elements of the path
    bool showLongNames_ = true;
    TVlFileListBox* fileList_ = nullptr;
    wb::gui::Label* dirLabel_ = nullptr;
};

} // namespace velmora
