// The tabs of the main window and the controls on them, as the window is made.
#include "tag_editor/windows/Main.h"

#include "tag_editor/logic/CddbClient.h"
#include "tag_editor/windows/EditTag.h"

#include <QImage>
#include <memory>

#include "platform/gui/Cursors.h"
#include "tag_editor/controls/VCLUtils.h"
#include "tag_editor/controls/VlLabel.h"
#include "tag_editor/controls/VlPictures.h"
#include "tag_editor/controls/VlQtImage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>

#include <algorithm>
#include <utility>

#include "platform/base/File.h"
#include "platform/base/IniFile.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/TextUtil.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Guard.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/WinMsg.h"
#include "tag_editor/windows/ID3FileBox.h"
#include "tag_editor/controls/DiskCaps.h"
#include "tag_editor/controls/Placemnt.h"
#include "tag_editor/controls/VerView.h"
#include "tag_editor/controls/VlDirectoryTree.h"
#include "tag_editor/controls/VlDriveComboBox.h"
#include "tag_editor/controls/VlShell.h"
#include "tag_editor/controls/VlSortGrd.h"

namespace velmora {

using namespace wb::gui;

namespace {

constexpr int kRowHeight = 22;

std::vector<std::string> GenreList() { return {kGenreNames.begin(), kGenreNames.end()}; }

} // namespace

TID3Frm::Label* TID3Frm::MakeLabel(WinControl* parent, const char* name, const std::string& caption, int left,
                                   int top) {
    auto* label = Make<Label>(parent, name);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top);
    return label;
}

TID3Frm::CheckBox* TID3Frm::MakeCheck(WinControl* parent, const char* name, const std::string& caption,
                                      bool checked, int left, int top, int width) {
    auto* check = Make<CheckBox>(parent, name);
    check->SetCaption(caption);
    check->SetChecked(checked);
    check->SetBounds(left, top, width, 20);
    return check;
}

TID3Frm::Button* TID3Frm::MakeButton(WinControl* parent, const char* name, const std::string& caption, int left,
                                     int top, int width) {
    auto* button = Make<Button>(parent, name);
    button->SetCaption(caption);
    button->SetBounds(left, top, width, 25);
    return button;
}

TID3Frm::Edit* TID3Frm::MakeEdit(WinControl* parent, const char* name, const std::string& text, int left, int top,
                                 int width) {
    auto* edit = Make<Edit>(parent, name);
    edit->SetText(text);
    edit->SetBounds(left, top, width, kRowHeight);
    return edit;
}

void TID3Frm::BuildId3Tab() {
    auto* t = ID3Tab;
    struct Row {
        Label*& label;
        const char* labelName;
        const char* caption;
        Edit** edit;
        const char* editName;
        int maxLength, width;
        CheckBox*& copy;
        const char* copyName;
    };
    GenreCombo = nullptr;
    const Row rows[] = {
        {SongLabel, "SongLabel", "Song Name :", &SongEdit, "SongEdit", 30, 250, SongCopyChk, "SongCopyChk"},
        {ArtistLabel, "ArtistLabel", "Artist :", &ArtistEdit, "ArtistEdit", 30, 250, ArtistCopyChk, "ArtistCopyChk"},
        {AlbumLabel, "AlbumLabel", "Album Name :", &AlbumEdit, "AlbumEdit", 30, 250, AlbumCopyChk, "AlbumCopyChk"},
        {YearLabel, "YearLabel", "Year :", &YearEdit, "YearEdit", 4, 50, YearCopyChk, "YearCopyChk"},
        {GenreLabel, "GenreLabel", "Genre :", nullptr, nullptr, 0, 180, GenreCopyChk, "GenreCopyChk"},
        {TrackLabel, "TrackLabel", "Track :", &TrackEdit, "TrackEdit", 3, 40, TrackCopyChk, "TrackCopyChk"},
        {CommentLabel, "CommentLabel", "Comment :", &CommentEdit, "CommentEdit", 28, 250, CommCopyChk,
         "CommCopyChk"},
    };
    int top = 8;
    for (const Row& r : rows) {
        r.label = MakeLabel(t, r.labelName, r.caption, 10, top + 3);
        if (r.edit) {
            *r.edit = MakeEdit(t, r.editName, "", 104, top, r.width);
            (*r.edit)->SetMaxLength(r.maxLength);
        } else {
            GenreCombo = Make<wb::gui::ComboBox>(t, "GenreCombo");
            GenreCombo->SetSorted(true);
            GenreCombo->SetItems(GenreList());
            const auto sorted = GenreCombo->Items();
            for (int g = 0; g < kGenreCount; ++g)
                genreIndex_[size_t(g)] = int(std::find(sorted.begin(), sorted.end(), kGenreNames[size_t(g)]) -
                                             sorted.begin());
            GenreCombo->SetDropDownCount(11);
            GenreCombo->SetBounds(104, top, r.width, kRowHeight);
        }
        r.copy = MakeCheck(t, r.copyName, "", true, 362, top + 1, 20);
        top += 27;
    }
    CopyBtn = MakeButton(t, "CopyBtn", "&Copy", 396, 8, 76);
    CopyBtn->SetHint("Copy all information");
    PasteBtn = MakeButton(t, "PasteBtn", "&Paste", 476, 8, 76);
    PasteBtn->SetHint("Paste all information");
    SwitchBtn = MakeButton(t, "SwitchBtn", "Artist <-> Title", 396, 40, 156);
    SwitchBtn->SetHint("Switch Artist/Title");
    ApplyBtn = MakeButton(t, "ApplyBtn", "&Apply Tag", 396, 118, 156);
    ApplyBtn->SetHeight(30);
    ApplyBtn->SetDefault(true);
    DelBtn = MakeButton(t, "DelBtn", "&Delete Tag", 396, 154, 156);
    DelBtn->SetHeight(30);

    RenameGroup = Make<GroupBox>(t, "RenameGroup");
    RenameGroup->SetBounds(6, 200, 548, 100);
    RenameLabel = MakeLabel(RenameGroup, "RenameLabel", "Rename file to :", 10, 24);
    RenameEdit = MakeEdit(RenameGroup, "RenameEdit", "", 112, 20, 340);
    RenameBtn = MakeButton(RenameGroup, "RenameBtn", "Do it ...", 458, 19, 80);
    RenameBtn->SetEnabled(false);
    AutoRenameCheck = MakeCheck(RenameGroup, "AutoRenameCheck", "Auto rename song on \"Apply Tag\"", true, 10, 50, 300);
    AplAlbumChk = MakeCheck(RenameGroup, "AplAlbumChk", "Album (else Sampler)", true, 10, 72, 300);
}

void TID3Frm::BuildListTab() {
    auto* t = ListTagTab;
    TagListLabel = MakeLabel(t, "TagListLabel", "Tagfile list :", 10, 6);
    TagListGrd = new Hosted<TVlSortGrid>(*t, "TagListGrd");
    SetUpTagListGrid(*TagListGrd->Get());
    TagListGrd->SetBounds(8, 24, 434, 240);
    EntriesLabel = MakeLabel(t, "EntriesLabel", "Entries :", 10, 272);
    TagListCounter = MakeLabel(t, "TagListCounter", "0", 64, 272);
    NewTagListBtn = MakeButton(t, "NewTagListBtn", "&Make new list", 450, 24, 104);
    ChgTagListBtn = MakeButton(t, "ChgTagListBtn", "&Edit list", 450, 56, 104);
    DelTagListBtn = MakeButton(t, "DelTagListBtn", "&Delete list", 450, 88, 104);
    AutoTagBtn = MakeButton(t, "AutoTagBtn", "&Autotag", 450, 200, 104);
    MakePlListBtn = MakeButton(t, "MakePlListBtn", "Make playlist", 450, 232, 104);
    for (Button* b : {ChgTagListBtn, DelTagListBtn, AutoTagBtn, MakePlListBtn}) b->SetEnabled(false);
    RenFileBox = new Hosted<TID3FileBox>(*t, "RenFileBox");
    RenFileBox->Get()->SetMask("*.Tag");
    RenFileBox->SetVisible(false);
}

void TID3Frm::BuildCddbTab() {
    auto* t = CDDBTab;
    UrlLabel = MakeLabel(t, "UrlLabel", "Server :", 10, 11);
    UrlEdit = MakeEdit(t, "UrlEdit", kDefaultCddbServer, 104, 8, 250);
    PortLabel = MakeLabel(t, "PortLabel", "Port :", 10, 38);
    PortEdit = MakeEdit(t, "PortEdit", kDefaultCddbPort, 104, 35, 60);
    EMailLabel = MakeLabel(t, "EMailLabel", "E-Mail :", 10, 65);
    EMailEdit = MakeEdit(t, "EMailEdit", "", 104, 62, 250);
    ShowInexactChk = MakeCheck(t, "ShowInexactChk", "When found inexact matches show list of matches to choose",
                               true, 10, 92, 500);
    CDDriveLabel = MakeLabel(t, "CDDriveLabel", "CD-Drive :", 10, 129);
    CDDriveList = new TVlDriveComboBox(*t, "CDDriveList");
    CDDriveList->SetDriveTypes(TDriveTypes{dtCDROM});
    CDDriveList->SetBounds(104, 125, 250, kRowHeight);
    ReadDiskInfoBtn = MakeButton(t, "ReadDiskInfoBtn", "Read &Disk", 362, 124, 110);
    FileCDDBBtn = MakeButton(t, "FileCDDBBtn", "&Create CDDB request from MP3-files", 10, 160, 300);
    ReqLabel = MakeLabel(t, "ReqLabel", "CDDB requests :", 10, 205);
    ReqCounter = Make<Panel>(t, "ReqCounter");
    ReqCounter->SetEdge(Panel::Edge::Lowered);
    ReqCounter->SetBounds(120, 200, 50, kRowHeight);
    ConnectBtn = MakeButton(t, "ConnectBtn", "&Get Tracklists", 180, 199, 130);
    for (Button* b : {ReadDiskInfoBtn, FileCDDBBtn, ConnectBtn}) b->SetEnabled(false);
    ReadDiskInfoBtn->SetEnabled(CDDriveList->Count() > 0);
}

void TID3Frm::BuildOptionTab() {
    auto* t = OptionTab;
    GroupBox1 = Make<GroupBox>(t, "GroupBox1");
    GroupBox1->SetCaption("When rename file :");
    GroupBox1->SetBounds(6, 6, 548, 84);
    UseDotChk = MakeCheck(GroupBox1, "UseDotChk", "Use        instead space in filename and directory and playlist",
                          false, 10, 24, 520);
    UseIsteadSpaceEdit = MakeEdit(GroupBox1, "UseIsteadSpaceEdit", ".", 56, 23, 22);
    UseIsteadSpaceEdit->SetMaxLength(1);
    UseIsteadSpaceEdit->BringToFront();
    RenWhenAutoTagChk = MakeCheck(GroupBox1, "RenWhenAutoTagChk", "Rename file when autotag", true, 10, 52, 300);
    GroupBox2 = Make<GroupBox>(t, "GroupBox2");
    GroupBox2->SetCaption("General :");
    GroupBox2->SetBounds(6, 98, 548, 126);
    AddTracktoTag = MakeCheck(GroupBox2, "AddTracktoTag",
                              "If file has tracknumber, then write tracknumber into tag when trackentry empty", true,
                              10, 24, 530);
    NextFileChk = MakeCheck(GroupBox2, "NextFileChk",
                            "Jump to next numbered file in filebox after 'Apply Tag' (works only with 01,02..)", true,
                            10, 48, 530);
    AutoPlayListChk = MakeCheck(GroupBox2, "AutoPlayListChk", "Generate playlist after \"Autotag\"", true, 10, 72, 530);
    RenDirAfterAutotagChk =
        MakeCheck(GroupBox2, "RenDirAfterAutotagChk", "Rename directory after \"Autotag\"", true, 10, 96, 530);
}

void TID3Frm::BuildNameTab() {
    GroupBox4 = Make<GroupBox>(NameFormSheet, "GroupBox4");
    GroupBox4->SetCaption("Name formats :");
    GroupBox4->SetBounds(6, 6, 548, 292);
    FormatWarning = MakeLabel(GroupBox4, "FormatWarning", "(all without fileextensions !) :", 10, 22);
    const NamePatterns defaults;
    struct Row {
        Label*& label;
        const char* labelName;
        const char* caption;
        Edit*& edit;
        const char* editName;
        const std::string& text;
    };
    const Row rows[] = {
        {FileAlbumLabel, "FileAlbumLabel", "File name, album :", FileNameAlbumEdit, "FileNameAlbumEdit",
         defaults.FileNameAlbum},
        {FileSamplerLabel, "FileSamplerLabel", "File name, sampler :", FileNameSamplerEdit, "FileNameSamplerEdit",
         defaults.FileNameSampler},
        {DirAlbumLabel, "DirAlbumLabel", "Directory, album :", DirNameAlbumEdit, "DirNameAlbumEdit",
         defaults.DirNameAlbum},
        {DirSamplerLabel, "DirSamplerLabel", "Directory, sampler :", DirNameSamplerEdit, "DirNameSamplerEdit",
         defaults.DirNameSampler},
        {PListAlbumLabel, "PListAlbumLabel", "Playlist, album :", PListNameAlbumEdit, "PListNameAlbumEdit",
         defaults.PListNameAlbum},
        {PListSamplerLabel, "PListSamplerLabel", "Playlist, sampler :", PListNameSamplerEdit,
         "PListNameSamplerEdit", defaults.PListNameSampler},
    };
    int top = 44;
    for (const Row& r : rows) {
        r.label = MakeLabel(GroupBox4, r.labelName, r.caption, 10, top + 3);
        r.edit = MakeEdit(GroupBox4, r.editName, r.text, 150, top, 250);
        top += 28;
    }
    Legend1 = MakeLabel(GroupBox4, "Legend1", "%A = Artist\t%N = Albumname\t%Y = Year", 10, 220);
    Legend2 = MakeLabel(GroupBox4, "Legend2", "%S = Songname\t%T = Tracknumber (01,02,...)", 10, 240);
    Legend3 = MakeLabel(GroupBox4, "Legend3", "%G = Genre\t%C = Comment", 10, 260);
}

void TID3Frm::BuildInfoTab() {
    auto* t = InfoTab;
    Image1 = Make<wb::gui::Image>(t, "Image1");
    Image1->SetBounds(12, 12, 128, 128);
    // The picture is GIF data of our own, read by the GIF image class.
    auto gif = std::make_shared<TGIFImage>();
    LoadInfoPicture(*gif);
    const QImage picture = ToQImage(gif->Bitmap(), gif->Frames(0).TransparentColor);
    Image1->OnPaint = [picture](Canvas& c, int w, int h) { c.StretchDraw({0, 0, w, h}, picture); };
    ProgramLabel = MakeLabel(t, "ProgramLabel", "Velmora - the MP3 tag editor", 156, 14);
    ProgramLabel->SetFont(18, true);
    VersionView = new TVersionView(this);
    VersionView->SetName("VersionView");
    VersionView->SetParent(t);
    VersionView->SetAutoSize(false);  // its text is built after the caption it sizes to
    VersionView->SetBounds(156, 44, 360, 20);
    VersionView->Refresh();
    // Links: a hand over them, the fly-by colour while the mouse is there.
    RegisterVlCursors();
    auto link = [&](TVlLabel*& label, const char* name, const char* text, int top) {
        label = Make<TVlLabel>(t, name);
        label->SetCaption(text);
        label->SetTextStyle(tsNormal);
        label->SetTransparent(true);
        TFont f = label->Font();
        f.Color = clBlue;
        f.Style = fsUnderline;
        label->SetFont(f);
        label->SetFlyByColor(clRed);
        label->SetFlyByEnabled(true);
        label->SetLeft(156);
        label->SetTop(top);
        SetControlCursor(*label, crVlHand);
    };
    link(VlLabel1, "VlLabel1", "Write to the author: velmora@example.org", 72);
    link(VlLabel2, "VlLabel2", "Velmora on the web: example.org/velmora", 96);
    SpeedButton1 = MakeButton(t, "SpeedButton1", "Live &Update", 156, 130, 130);
}

} // namespace velmora
