#pragma once
// A framed box of the drives of chosen kinds, each with its icon and label,
// that points a directory list at the drive chosen.
#include <string>
#include <vector>

#include "platform/gui/ComboBox.h"
#include "tag_editor/controls/decoration/VlFrame.h"
#include "tag_editor/controls/filesystem/VlFsRules.h"

namespace velmora {

class TVlDirectoryListBox;

class TVlDriveComboBox : public TVlFramed<wb::gui::ComboBox> {
public:
    explicit TVlDriveComboBox(wb::Component* owner = nullptr);
    TVlDriveComboBox(wb::gui::WinControl& parent, const std::string& name);
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
    std::vector<std::string> ItemTexts() const { return Items(); }

    void UpdateFrame(bool viaMouse, bool inFocus) override;

    // The texts the box shows for a drive.
    static std::string VolumeLabel(const std::string& root);
    static std::string NetworkName(const std::string& root);

protected:
    TColor FrameBackColor() const override { return color_; }
    // The box draws its frame with its button in its own paint.
    bool FrameOverBorder() const override { return false; }
    bool FrameHasFocus() const override { return focused_; }
    void FrameVisibleChanged() override { Invalidate(); }
    void FrameInvalidate() override { Invalidate(); }

    void Change() override;
    void Paint(wb::gui::Canvas& canvas) override;

private:
    TDriveTypes driveTypes_{dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM};
    bool flatButtons_ = true;
    bool focused_ = false;
    bool filling_ = false;
    TColor color_ = wb::gui::clWindow;
    TVlDirectoryListBox* dirList_ = nullptr;
};

} // namespace velmora
