#pragma once
// The main window: the folder tree on the left, the tabbed work area and the
// file list on the right, two status lines at the bottom. It loads the
// selected file's tag into the boxes, writes, deletes and renames, and keeps
// the settings file.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "tag_editor/logic/Autotag.h"
#include "tag_editor/logic/CDDBCalc.h"
#include "tag_editor/logic/MainRules.h"
#include "tag_editor/logic/Renaming.h"

namespace velmora {

class TVlDirectoryTree;
class TVlDriveComboBox;
class TVlSortGrid;
struct TFormatOptions;
class TDiskCaps;
class TFormStorage;
class TVersionView;
class TVlLabel;
class TVlGradientCaption;
class TID3FileBox;
class TEditTagListFrm;
class TChooseFrm;
class TLUpdateFrm;

// The windows the main window opens. One not handed over is made the first
// time it is needed and lives as long as the main window.
struct TID3Windows {
    TEditTagListFrm* TagListEditor = nullptr;
    TChooseFrm* Chooser = nullptr;
    TLUpdateFrm* LiveUpdate = nullptr;
};

class TID3Frm : public wb::gui::Form {
public:
    // programFolder: where "Velmora.Ini", "CDDB.Req", "Tags" and the updater
    // live; empty for the one the platform chooses beside the program.
    explicit TID3Frm(const std::string& programFolder = "");
    ~TID3Frm() override;
    // Made after the main window, as the first window made is the program's main one.
    void HandWindows(const TID3Windows& windows) { windows_ = windows; }
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    // Handlers, one per event.
    void FormCreate();
    void FormClose();
    void DirTreeChange();
    void FileBoxChange();
    void ApplyBtnClick();
    void DelBtnClick();
    void CopyBtnClick();
    void PasteBtnClick();
    void SwitchBtnClick();
    void YearEditKeyPress(char& key);
    void TrackEditKeyPress(char& key);
    void DirTreeKeyUp(int key);
    void FileBoxKeyUp(int key);
    void FileBoxDblClick();
    void VlLabel1Click();
    void VlLabel2Click();
    void SpeedButton1Click();
    void NewTagListBtnClick();
    void ChgTagListBtnClick();
    void DelTagListBtnClick();
    void TagListGrdClick();
    void TagListGrdGetCellFormat(int col, int row, TFormatOptions& format);
    void AutoTagBtnClick();
    void MakePlListBtnClick();
    // The tag-list grid read again from the "Tags" folder.
    void FillTagListGrid();
    void PageControl1Change();
    void ReadDiskInfoBtnClick();
    void FileCDDBBtnClick();
    void ConnectBtnClick();
    void UpdateConnectBtn();
    void SongEditChange();
    void ArtistEditChange();
    void AlbumEditChange();
    void YearEditChange();
    void CommentEditChange();
    void TrackEditChange();
    void UseDotChkClick();
    void AplAlbumChkClick();
    void GroupBox4Exit();
    void RenameEditChange();
    void RenameBtnClick();

    // Operations the other windows use.
    void LoadFile(const std::string& path);
    void ClearDisplay();
    void ShowFileStatus(FileStatus status);
    void RefreshFileList();
    std::string ReadSetting(const std::string& key) const;
    void WriteSetting(const std::string& key, const std::string& value) const;
    // Renames a folder after Autotag and points the tree and list at it; a
    // failed rename is reported and leaves them at the old folder.
    void RenameDirectory(const std::string& path, const std::string& newName);
    // Reads the tree again, as a folder was renamed, and points tree and list
    // at the folder.
    void FollowFolder(const std::string& path);
    void UpdateRenameProposal();
    NameSettings Settings() const;

    const std::string& ProgramFolder() const { return programFolder_; }
    std::string IniFileName() const { return programFolder_ + "/Velmora.Ini"; }
    std::string RequestFileName() const { return programFolder_ + "/CDDB.Req"; }
    std::string TagsFolder() const { return programFolder_ + "/Tags"; }
    const TTagInfo& CurrentTag() const { return tag_; }
    int CurrentTrack() const { return currentTrack_; }
    FileStatus Status() const { return status_; }
    const FieldClipboard& Clipboard() const { return clipboard_; }
    TCddbRequests& CddbRequests() { return cddbRequests_; }
    // Queues a disc for the CDDB server; a disc queued already is refused with a message.
    void AddCddbRequest(const TDiskInfoRec& disc);
    bool Autotag = false;

    using Label = wb::gui::Label;
    using Edit = wb::gui::Edit;
    using Button = wb::gui::Button;
    using CheckBox = wb::gui::CheckBox;
    using Panel = wb::gui::Panel;
    using GroupBox = wb::gui::GroupBox;
    using TabSheet = wb::gui::TabSheet;
    template <class T>
    using Child = wb::gui::Child<T>;

    Child<Panel> TreePanel;
    Child<TVlDirectoryTree> DirTree;
    Child<wb::gui::PageControl> PageControl1;
    Child<TabSheet> ID3Tab, ListTagTab, CDDBTab, OptionTab, NameFormSheet, InfoTab;
    Child<TID3FileBox> FileBox;
    Child<Panel> StatusPanel, MpegInfoPanel;
    TDiskCaps* DiskCaps;
    TFormStorage* IniStore;

    // "ID3 Tag"
    Child<Label> SongLabel, ArtistLabel, AlbumLabel, YearLabel, GenreLabel, TrackLabel, CommentLabel;
    Child<Edit> SongEdit, ArtistEdit, AlbumEdit, YearEdit, TrackEdit, CommentEdit;
    Child<wb::gui::ComboBox> GenreCombo;
    Child<CheckBox> SongCopyChk, ArtistCopyChk, AlbumCopyChk, YearCopyChk, GenreCopyChk, TrackCopyChk, CommCopyChk;
    Child<Button> CopyBtn, PasteBtn, SwitchBtn;
    Child<GroupBox> RenameGroup;
    Child<Label> RenameLabel;
    Child<Edit> RenameEdit;
    Child<Button> RenameBtn;
    Child<CheckBox> AutoRenameCheck, AplAlbumChk;
    Child<Button> ApplyBtn, DelBtn;

    // "Tag from list"
    Child<Label> TagListLabel, EntriesLabel, TagListCounter;
    Child<TVlSortGrid> TagListGrd;
    Child<Button> NewTagListBtn, ChgTagListBtn, DelTagListBtn, AutoTagBtn, MakePlListBtn;
    Child<TID3FileBox> RenFileBox;

    // "CDDB"
    Child<Label> UrlLabel, PortLabel, EMailLabel, CDDriveLabel, ReqLabel;
    Child<Edit> UrlEdit, PortEdit, EMailEdit;
    Child<CheckBox> ShowInexactChk;
    Child<TVlDriveComboBox> CDDriveList;
    Child<Button> ReadDiskInfoBtn, FileCDDBBtn, ConnectBtn;
    Child<Panel> ReqCounter;

    // "Options"
    Child<GroupBox> GroupBox1, GroupBox2;
    Child<CheckBox> UseDotChk, RenWhenAutoTagChk, AddTracktoTag, NextFileChk, AutoPlayListChk, RenDirAfterAutotagChk;
    Child<Edit> UseIsteadSpaceEdit;

    // "Customize names"
    Child<GroupBox> GroupBox4;
    Child<Label> FormatWarning, Legend1, Legend2, Legend3;
    Child<Label> FileAlbumLabel, FileSamplerLabel, DirAlbumLabel, DirSamplerLabel, PListAlbumLabel, PListSamplerLabel;
    Child<Edit> FileNameAlbumEdit, FileNameSamplerEdit, DirNameAlbumEdit, DirNameSamplerEdit, PListNameAlbumEdit, PListNameSamplerEdit;

    // "Info / Update"
    Child<wb::gui::Image> Image1;
    Child<Label> ProgramLabel;
    Child<TVersionView> VersionView;
    Child<TVlLabel> VlLabel1, VlLabel2;
    Child<Button> SpeedButton1;
    TVlGradientCaption* GradientCaption;

protected:
    void WndProc(wb::gui::Message& msg) override;

private:
    class ListHost;
    static constexpr int kRowHeight = 22;  // of an edit box and the rows beside it
    TEditTagListFrm& TagListEditor();
    TChooseFrm& Chooser();
    TLUpdateFrm& LiveUpdate();
    std::string ChosenTagList() const;
    void EditTagList(bool edit);
    AutotagOptions ListOptions() const;
    template <class T>
    Child<T> Make(wb::gui::WinControl* parent, const char* name) {
        return Child<T>(*parent, name);
    }
    Child<Label> MakeLabel(wb::gui::WinControl* parent, const char* name, const std::string& caption, int left,
                           int top);
    Child<CheckBox> MakeCheck(wb::gui::WinControl* parent, const char* name, const std::string& caption,
                              bool checked, int left, int top, int width);
    Child<Button> MakeButton(wb::gui::WinControl* parent, const char* name, const std::string& caption, int left,
                             int top, int width);
    Child<Edit> MakeEdit(wb::gui::WinControl* parent, const char* name, const std::string& text, int left, int top,
                         int width);
    void BuildId3Tab();
    void BuildListTab();
    void BuildCddbTab();
    void BuildOptionTab();
    void BuildNameTab();
    void BuildInfoTab();
    void Connect();
    void ConnectId3Tab();
    void ConnectListTab();
    void ConnectCddbTab();
    // "Read Disk" is there only with a CD drive; without one its hint, and
    // the status panel while the CDDB tab is shown, say why.
    void UpdateReadDiskBtn();
    void ShowCddbTabStatus(bool shown);
    void ConnectOptionTab();
    void ConnectInfoTab();
    template <class C>
    void OnClickCall(const Child<C>& control, void (TID3Frm::*handler)()) {
        control->OnClick = [this, handler](wb::Persistent*) { (this->*handler)(); };
    }
    void Arrange();
    void TakeBox(TagBox box, Edit* edit);
    // Yellow while the track box holds a number taken from the file name.
    void PaintTrackEdit(bool fromName);
    // Renames the selected file to the rename box's text; false when refused.
    bool RenameSelected();
    std::string SelectedName() const;

    std::string programFolder_;
    bool built_ = false;  // every control made: the window may arrange them
    TTagInfo tag_;
    bool busy_ = false;
    int currentTrack_ = -1;
    FileStatus status_ = FileStatus::NoFile;
    bool statusShown_ = false;
    bool trackYellow_ = false;
    std::array<int, kGenreCount> genreIndex_{};  // each genre's row in the sorted box
    FieldClipboard clipboard_;
    TCddbRequests cddbRequests_;
    std::string lastPage_;
    TID3Windows windows_;
    std::unique_ptr<TEditTagListFrm> ownTagListEditor_;
    std::unique_ptr<TChooseFrm> ownChooser_;
    std::unique_ptr<TLUpdateFrm> ownLiveUpdate_;
};

} // namespace velmora
