#pragma once
// A framed box of the drives of chosen kinds, each with its icon and label,
// that points a directory list at the drive chosen.
#include <QComboBox>

#include <string>
#include <vector>

#include "tag_editor/controls/VlFramedWidget.h"
#include "tag_editor/controls/VlFsRules.h"

namespace velmora {

class TVlDirectoryListBox;

class TVlDriveComboBox : public TVlFramedWidget<QComboBox> {
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

    TNotifyEvent OnChange;

    // The texts the box shows for a drive.
    static std::string VolumeLabel(const std::string& root);
    static std::string NetworkName(const std::string& root);

protected:
    TColor FrameBackColor() const override { return color_; }
    // The box draws its frame with its button in its own paint.
    bool FrameOverBorder() const override { return false; }
    bool FrameHasFocus() const override { return focused_; }
    void FrameVisibleChanged() override { update(); }
    void FrameInvalidate() override { update(); }

    void paintEvent(QPaintEvent* e) override;

private:
    TDriveTypes driveTypes_{dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM};
    bool flatButtons_ = true;
    bool focused_ = false;
    bool filling_ = false;
    TColor color_ = wb::gui::clWindow;
    TVlDirectoryListBox* dirList_ = nullptr;
};

} // namespace velmora
