// The main window's "CDDB" tab: the server, the CD drive, the queue of disc
// requests and the run against the server.
#include "tag_editor/windows/Main.h"

#include "platform/gui/MessageBox.h"
#include "tag_editor/logic/CddbClient.h"
#include "tag_editor/windows/CddbStat.h"
#include "tag_editor/windows/Choose.h"
#include "tag_editor/windows/ID3FileBox.h"
#include "tag_editor/windows/VirtCD.h"
#include "tag_editor/controls/decoration/VerView.h"
#include "tag_editor/controls/filesystem/VlDriveComboBox.h"

namespace velmora {

using namespace wb::gui;

namespace {
const char* const kNoCdDriveText = "There is no CD drive.";
} // namespace

void TID3Frm::BuildCddbTab() {
    TabSheet* t = CDDBTab;
    UrlLabel = MakeLabel(t, "UrlLabel", "Server :", 10, 11);
    UrlEdit = MakeEdit(t, "UrlEdit", kDefaultCddbServer, 104, 8, 250);
    PortLabel = MakeLabel(t, "PortLabel", "Port :", 10, 38);
    PortEdit = MakeEdit(t, "PortEdit", kDefaultCddbPort, 104, 35, 60);
    EMailLabel = MakeLabel(t, "EMailLabel", "E-Mail :", 10, 65);
    EMailEdit = MakeEdit(t, "EMailEdit", "", 104, 62, 250);
    ShowInexactChk = MakeCheck(t, "ShowInexactChk", "When found inexact matches show list of matches to choose",
                               true, 10, 92, 500);
    CDDriveLabel = MakeLabel(t, "CDDriveLabel", "CD-Drive :", 10, 129);
    CDDriveList = Child<TVlDriveComboBox>(*t, "CDDriveList");
    CDDriveList->SetDriveTypes(TDriveTypes{dtCDROM});
    CDDriveList->SetBounds(104, 125, 250, kRowHeight);
    ReadDiskInfoBtn = MakeButton(t, "ReadDiskInfoBtn", "Read &Disk", 362, 124, 110);
    FileCDDBBtn = MakeButton(t, "FileCDDBBtn", "&Create CDDB request from MP3-files", 10, 160, 300);
    ReqLabel = MakeLabel(t, "ReqLabel", "CDDB requests :", 10, 205);
    ReqCounter = Make<Panel>(t, "ReqCounter");
    ReqCounter->SetEdge(Panel::Edge::Lowered);
    ReqCounter->SetBounds(120, 200, 50, kRowHeight);
    ConnectBtn = MakeButton(t, "ConnectBtn", "&Get Tracklists", 180, 199, 130);
    for (Button* b : {FileCDDBBtn.get(), ConnectBtn.get()}) b->SetEnabled(false);
    UpdateReadDiskBtn();
}

void TID3Frm::UpdateReadDiskBtn() {
    const bool drive = CDDriveList->Count() > 0;
    ReadDiskInfoBtn->SetEnabled(drive);
    ReadDiskInfoBtn->SetHint(drive ? "" : kNoCdDriveText);
}

void TID3Frm::ShowCddbTabStatus(bool shown) {
    if (shown && CDDriveList->Count() == 0) {
        // In the neutral look, as it says nothing about the file.
        const FileStatusLook& look = LookOf(FileStatus::NoFile);
        StatusPanel->SetColor(look.Color);
        StatusPanel->SetFont(look.FontColor, true);
        StatusPanel->SetCaption(kNoCdDriveText);
    } else if (!shown) {
        statusShown_ = false;  // the file's status comes back
        ShowFileStatus(status_);
    }
}

void TID3Frm::ConnectCddbTab() {
    OnClickCall(ReadDiskInfoBtn, &TID3Frm::ReadDiskInfoBtnClick);
    OnClickCall(FileCDDBBtn, &TID3Frm::FileCDDBBtnClick);
    OnClickCall(ConnectBtn, &TID3Frm::ConnectBtnClick);
}

TChooseFrm& TID3Frm::Chooser() {
    if (windows_.Chooser) return *windows_.Chooser;
    if (!ownChooser_) ownChooser_ = std::make_unique<TChooseFrm>();
    return *ownChooser_;
}

void TID3Frm::UpdateConnectBtn() {
    ReqCounter->SetCaption(std::to_string(cddbRequests_.Count()));
    ConnectBtn->SetEnabled(!cddbRequests_.Empty());
}

void TID3Frm::AddCddbRequest(const TDiskInfoRec& disc) {
    if (!cddbRequests_.Add(disc)) ShowMessage(kDuplicateRequestText, MsgKind::Error);
    UpdateConnectBtn();
}

void TID3Frm::ReadDiskInfoBtnClick() {
    ReadDiskInfoBtn->SetEnabled(false);
    struct Again {
        TID3Frm& f;
        ~Again() { f.UpdateReadDiskBtn(); }
    } again{*this};
    try {
        AddCddbRequest(ReadDiskInfo(CDDriveList->Drive()));
    } catch (const CddbError& e) {
        ShowMessage(e.what(), MsgKind::Error);
    }
}

void TID3Frm::FileCDDBBtnClick() {
    TVirtualCD cd([this](const TDiskInfoRec& disc) { AddCddbRequest(disc); });
    cd.FillList(FileBox->Directory(), FileBox->FileNames());
    cd.ShowModal();
    UpdateConnectBtn();
}

void TID3Frm::ConnectBtnClick() {
    if (!ValidCddbEMail(EMailEdit->Text())) {
        ShowMessage(kInvalidEMailText, MsgKind::Error);
        EMailEdit->SetFocus();
        return;
    }
    TCddbSettings settings;
    settings.Host = UrlEdit->Text();
    settings.EMail = EMailEdit->Text();
    VersionView->Refresh();
    settings.Version = VersionView->VersionNumber.empty() ? "1.0.0.0" : VersionView->VersionNumber;
    settings.ShowInexact = ShowInexactChk->Checked();
    settings.TagsFolder = TagsFolder();
    {
        TCddbStatFrm status(cddbRequests_, {UrlEdit->Text(), PortEdit->Text()}, settings, Chooser());
        status.ShowModal();
    }
    FillTagListGrid();
    UpdateConnectBtn();
}

} // namespace velmora
