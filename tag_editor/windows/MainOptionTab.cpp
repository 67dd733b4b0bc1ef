// The main window's "Options" tab: how files and folders are renamed, and
// what Apply and Autotag do besides.
#include "tag_editor/windows/Main.h"

namespace velmora {

using namespace wb::gui;

void TID3Frm::BuildOptionTab() {
    TabSheet* t = OptionTab;
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

void TID3Frm::ConnectOptionTab() { OnClickCall(UseDotChk, &TID3Frm::UseDotChkClick); }

void TID3Frm::UseDotChkClick() { UpdateRenameProposal(); }

} // namespace velmora
