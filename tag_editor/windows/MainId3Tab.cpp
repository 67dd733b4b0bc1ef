// The main window's "ID3 Tag" tab: the tag of the selected file in its
// boxes, written, deleted, copied and pasted, and the file renamed.
#include "tag_editor/windows/Main.h"

#include <algorithm>

#include "platform/base/IoError.h"
#include "platform/base/TextUtil.h"
#include "platform/gui/MessageBox.h"
#include "tag_editor/windows/ID3FileBox.h"

namespace velmora {

using namespace wb::gui;

namespace {

std::vector<std::string> GenreList() { return {kGenreNames.begin(), kGenreNames.end()}; }

// A box is written only when its text changes: each write lays the text out
// again, and selecting file after file is the window's busiest road.
void Put(TID3Frm::Edit* edit, const std::string& text) {
    if (edit->Text() != text) edit->SetText(text);
}

// Enter and Esc are the window's keys (they press Apply and Delete), never
// characters of the box, so they pass as well.
void DigitsOnly(char& key) {
    if (!(key >= '0' && key <= '9') && key != '\b' && key != '\r' && key != '\x1b') key = 0;
}

} // namespace

void TID3Frm::BuildId3Tab() {
    TabSheet* t = ID3Tab;
    struct Row {
        Child<Label>& label;
        const char* labelName;
        const char* caption;
        Child<Edit>* edit;
        const char* editName;
        int maxLength, width;
        Child<CheckBox>& copy;
        const char* copyName;
    };
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

void TID3Frm::ConnectId3Tab() {
    auto edit = [](Edit* e, void (TID3Frm::*handler)(), TID3Frm* self) {
        e->OnChange = [self, handler](wb::Persistent*) { (self->*handler)(); };
    };
    edit(SongEdit, &TID3Frm::SongEditChange, this);
    edit(ArtistEdit, &TID3Frm::ArtistEditChange, this);
    edit(AlbumEdit, &TID3Frm::AlbumEditChange, this);
    edit(YearEdit, &TID3Frm::YearEditChange, this);
    edit(CommentEdit, &TID3Frm::CommentEditChange, this);
    edit(TrackEdit, &TID3Frm::TrackEditChange, this);
    edit(RenameEdit, &TID3Frm::RenameEditChange, this);
    YearEdit->OnKeyPress = [this](wb::Persistent*, char& key) { YearEditKeyPress(key); };
    TrackEdit->OnKeyPress = [this](wb::Persistent*, char& key) { TrackEditKeyPress(key); };
    OnClickCall(ApplyBtn, &TID3Frm::ApplyBtnClick);
    OnClickCall(DelBtn, &TID3Frm::DelBtnClick);
    OnClickCall(CopyBtn, &TID3Frm::CopyBtnClick);
    OnClickCall(PasteBtn, &TID3Frm::PasteBtnClick);
    OnClickCall(SwitchBtn, &TID3Frm::SwitchBtnClick);
    OnClickCall(RenameBtn, &TID3Frm::RenameBtnClick);
    OnClickCall(AplAlbumChk, &TID3Frm::AplAlbumChkClick);
}

// --- the tag in the boxes --------------------------------------------------

void TID3Frm::ClearDisplay() {
    for (Edit* e : {SongEdit.get(), ArtistEdit.get(), AlbumEdit.get(), YearEdit.get(), CommentEdit.get(), TrackEdit.get(), RenameEdit.get()}) e->SetText("");
    PaintTrackEdit(false);
    GenreCombo->SetItemIndex(-1);
    MpegInfoPanel->SetCaption("No Info ...");
    for (Button* b : {DelBtn.get(), ApplyBtn.get(), RenameBtn.get()}) b->SetEnabled(false);
}

void TID3Frm::LoadFile(const std::string& path) {
    if (path.empty()) return;
    tag_ = ReadTag(path);
    {
        // Every box gets its final text once, as clearing and then filling
        // them would leave it; the proposal follows when all are set.
        struct Busy {
            bool& flag;
            explicit Busy(bool& f) : flag(f) { flag = true; }
            ~Busy() { flag = false; }
        } busy(busy_);
        // Each button takes its final state once; the rename button follows
        // the proposal below, through the rename box's change handler.
        ApplyBtn->SetEnabled(!tag_.ReadOnly);
        DelBtn->SetEnabled(!tag_.ReadOnly && tag_.HasTag);
        const std::string mpeg = MpegInfoText(tag_.Mpeg);
        if (MpegInfoPanel->Caption() != mpeg) MpegInfoPanel->SetCaption(mpeg);
        std::string album, comment, year, track;
        bool trackFromName = false;
        int genre = -1;
        if (tag_.HasTag) {
            album = wb::Trim(tag_.Album);
            comment = wb::Trim(tag_.Comment);
            if (tag_.Year) year = std::to_string(tag_.Year);
            if (tag_.Track != 0) {
                track = std::to_string(tag_.Track);
            } else if (AddTracktoTag->Checked()) {
                track = TrackFromNamePrefix(path.substr(path.rfind('/') + 1));
                trackFromName = !track.empty();
            }
            if (tag_.Genre < kGenreCount) genre = genreIndex_[tag_.Genre];
        }
        Put(SongEdit, wb::Trim(tag_.Song));
        Put(ArtistEdit, wb::Trim(tag_.Artist));
        Put(AlbumEdit, album);
        Put(YearEdit, year);
        Put(CommentEdit, comment);
        Put(TrackEdit, track);
        PaintTrackEdit(trackFromName);
        GenreCombo->SetItemIndex(genre);
        ShowFileStatus(FileStatusOf(tag_));
    }
    UpdateRenameProposal();
}

void TID3Frm::PaintTrackEdit(bool fromName) {
    if (trackYellow_ == fromName) return;
    trackYellow_ = fromName;
    TrackEdit->SetColor(fromName ? clYellow : clWindow);
}

void TID3Frm::TakeBox(TagBox box, Edit* edit) {
    TakeBoxText(tag_, box, edit->Text(), busy_);
    if (!busy_) UpdateRenameProposal();  // a load makes its proposal once, at its end
}

void TID3Frm::SongEditChange() { TakeBox(TagBox::Song, SongEdit); }
void TID3Frm::ArtistEditChange() { TakeBox(TagBox::Artist, ArtistEdit); }
void TID3Frm::AlbumEditChange() { TakeBox(TagBox::Album, AlbumEdit); }
void TID3Frm::YearEditChange() { TakeBox(TagBox::Year, YearEdit); }
void TID3Frm::CommentEditChange() { TakeBox(TagBox::Comment, CommentEdit); }
void TID3Frm::TrackEditChange() { TakeBox(TagBox::Track, TrackEdit); }

void TID3Frm::YearEditKeyPress(char& key) { DigitsOnly(key); }
void TID3Frm::TrackEditKeyPress(char& key) { DigitsOnly(key); }

// --- the file's new name ---------------------------------------------------

void TID3Frm::UpdateRenameProposal() {
    RenameEdit->SetText(
        velmora::UpdateRenameProposal(tag_, SongEdit->Text(), ArtistEdit->Text(), Autotag, Settings()));
}

void TID3Frm::AplAlbumChkClick() { RenameEdit->SetText(MakeRenameProposal(tag_, Settings())); }

void TID3Frm::RenameEditChange() {
    RenameBtn->SetEnabled(!RenameEdit->Text().empty() && FileBox->ItemIndex() >= 0);
}

bool TID3Frm::RenameSelected() {
    const std::string name = SelectedName();
    if (name.empty()) return false;
    RenameResult result = RenameFile(FileBox->Directory(), name, RenameEdit->Text());
    if (result.status != RenameResult::Status::Refused) return true;
    ShowMessage(result.message, MsgKind::Error);
    return false;
}

void TID3Frm::RenameBtnClick() {
    if (SelectedName().empty()) return;
    RenameSelected();
    RefreshFileList();
}

// --- the buttons -----------------------------------------------------------

void TID3Frm::ApplyBtnClick() {
    const std::string path = FileBox->FileName();
    if (path.empty()) return;
    const std::string refusal = TrackRefusal(TrackEdit->Text());
    if (!refusal.empty()) {
        ShowMessage(refusal, MsgKind::Error);
        return;
    }
    TagBoxes boxes{SongEdit->Text(), ArtistEdit->Text(), AlbumEdit->Text(), YearEdit->Text(),
                   CommentEdit->Text(), TrackEdit->Text(), GenreCombo->ItemIndex() >= 0 ? GenreCombo->Text() : ""};
    try {
        WriteTag(path, TagFromBoxes(boxes));
    } catch (const wb::IoError& e) {
        // Nothing was written (the file may be gone): say so, rename
        // nothing, and show the folder as it now is.
        ShowMessage(e.what(), MsgKind::Error);
        RefreshFileList();
        return;
    }
    if (AutoRenameCheck->Checked()) RenameSelected();
    RefreshFileList();
    if (NextFileChk->Checked() && currentTrack_ >= 0) {
        const int next = FileIndexByTrack(currentTrack_ + 1, FileBox->FileNames());
        if (next >= 0) {
            FileBox->SetItemIndex(next);  // loads it, through FileBoxChange
        } else {
            currentTrack_ = -1;
        }
    }
}

void TID3Frm::DelBtnClick() {
    const std::string path = FileBox->FileName();
    if (path.empty()) return;
    RemoveTag(path);
    RefreshFileList();
}

void TID3Frm::CopyBtnClick() {
    auto take = [](CheckBox* check, Edit* edit, std::string& slot) {
        if (check->Checked()) slot = edit->Text();
    };
    take(SongCopyChk, SongEdit, clipboard_.Song);
    take(ArtistCopyChk, ArtistEdit, clipboard_.Artist);
    take(AlbumCopyChk, AlbumEdit, clipboard_.Album);
    take(YearCopyChk, YearEdit, clipboard_.Year);
    take(CommCopyChk, CommentEdit, clipboard_.Comment);
    take(TrackCopyChk, TrackEdit, clipboard_.Track);
    if (GenreCopyChk->Checked()) clipboard_.Genre = GenreCombo->ItemIndex();
}

void TID3Frm::PasteBtnClick() {
    auto put = [](CheckBox* check, Edit* edit, const std::string& slot) {
        if (check->Checked()) edit->SetText(slot);
    };
    put(SongCopyChk, SongEdit, clipboard_.Song);
    put(ArtistCopyChk, ArtistEdit, clipboard_.Artist);
    put(AlbumCopyChk, AlbumEdit, clipboard_.Album);
    put(YearCopyChk, YearEdit, clipboard_.Year);
    put(CommCopyChk, CommentEdit, clipboard_.Comment);
    if (GenreCopyChk->Checked()) GenreCombo->SetItemIndex(clipboard_.Genre);
    put(TrackCopyChk, TrackEdit, clipboard_.Track);
}

void TID3Frm::SwitchBtnClick() {
    const std::string song = SongEdit->Text();
    SongEdit->SetText(ArtistEdit->Text());
    ArtistEdit->SetText(song);
}

} // namespace velmora
