#include "tag_editor/windows/Main.h"

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
#include "tag_editor/logic/CddbClient.h"
#include "tag_editor/windows/CddbStat.h"
#include "tag_editor/windows/Choose.h"
#include "tag_editor/windows/ID3FileBox.h"
#include "tag_editor/windows/VirtCD.h"
#include "tag_editor/windows/Lupdate.h"
#include "tag_editor/windows/WindowCaption.h"
#include "tag_editor/controls/VlLabel.h"
#include "tag_editor/controls/DiskCaps.h"
#include "tag_editor/controls/Placemnt.h"
#include "tag_editor/controls/VerView.h"
#include "tag_editor/controls/VlDirectoryTree.h"
#include "tag_editor/controls/VlDriveComboBox.h"
#include "tag_editor/controls/VlShell.h"
#include "tag_editor/controls/VlSortGrd.h"

namespace velmora {

using namespace wb::gui;

TID3Frm* ID3Frm = nullptr;

namespace {

const char kSection[] = "Main";
const char kMailLink[] = "mailto:velmora@example.org";
const char kWebLink[] = "https://example.org/velmora/";

constexpr int kTreeWidth = 232;
constexpr int kPagesHeight = 334;
constexpr int kStatusHeight = 22;

const char* const kStoredProps[] = {
    "AutoRenameCheck.Checked", "UseDotChk.Checked", "AddTracktoTag.Checked", "NextFileChk.Checked",
    "AutoPlayListChk.Checked", "RenDirAfterAutotagChk.Checked", "UrlEdit.Text", "PortEdit.Text",
    "EMailEdit.Text", "ShowInexactChk.Checked", "PageControl1.ActivePage", "UseIsteadSpaceEdit.Text",
    "FileNameAlbumEdit.Text", "FileNameSamplerEdit.Text", "DirNameAlbumEdit.Text", "DirNameSamplerEdit.Text",
    "AplAlbumChk.Checked", "PListNameAlbumEdit.Text", "PListNameSamplerEdit.Text",
};


} // namespace

// F5 in the tree or the file list, and the focus leaving the name formats.
struct TID3Frm::Watch : QObject {
    explicit Watch(TID3Frm& form) : form_(form) {
        form.DirTree->Widget()->installEventFilter(this);
        form.FileBox->Widget()->installEventFilter(this);
        QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            QWidget* group = form_.GroupBox4->Widget();
            if (old && group->isAncestorOf(old) && !(now && group->isAncestorOf(now)))
                RunGuarded([this] { form_.GroupBox4Exit(); });
        });
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            int key = static_cast<QKeyEvent*>(event)->key() == Qt::Key_F5 ? 0x74 : 0;
            if (watched == form_.DirTree->Widget()) RunGuarded([&] { form_.DirTreeKeyUp(key); });
            if (watched == form_.FileBox->Widget()) RunGuarded([&] { form_.FileBoxKeyUp(key); });
        }
        return false;
    }
    TID3Frm& form_;
};

const wb::ClassInfo& TID3Frm::StaticClass() {
    static const wb::ClassInfo info("TID3Frm", &Form::StaticClass());
    return info;
}

TID3Frm::TID3Frm(const std::string& programFolder)
    : programFolder_(programFolder.empty() ? wb::BesideProgramFolder(wb::ProgramFolder(), "velmora")
                                           : programFolder) {
    ID3Frm = this;
    BeginLoading();
    SetName("ID3Frm");
    SetCaption("Velmora");
    SetBounds(40, 40, 800, 573);

    TreePanel = Make<Panel>(this, "TreePanel");
    TreePanel->SetEdge(Panel::Edge::None);
    DirTree = new Hosted<TVlDirectoryTree>(*TreePanel, "DirTree");
    PageControl1 = Make<PageControl>(this, "PageControl1");
    auto page = [&](TabSheet*& sheet, const char* name, const char* caption) {
        sheet = new TabSheet(this);
        sheet->SetName(name);
        sheet->SetCaption(caption);
        sheet->SetPageControl(PageControl1);
    };
    page(ID3Tab, "ID3Tab", "ID3 Tag");
    page(ListTagTab, "ListTagTab", "Tag from list");
    page(CDDBTab, "CDDBTab", "CDDB");
    page(OptionTab, "OptionTab", "Options");
    page(NameFormSheet, "NameFormSheet", "Customize names");
    page(InfoTab, "InfoTab", "Info / Update");
    FileBox = new Hosted<TID3FileBox>(*this, "FileBox");
    FileBox->Get()->SetMask("*.mp3");
    FileBox->Get()->setSelectionMode(QAbstractItemView::SingleSelection);
    DirTree->Get()->SetFileList(FileBox->Get());
    StatusPanel = Make<Panel>(this, "StatusPanel");
    StatusPanel->SetEdge(Panel::Edge::Lowered);
    MpegInfoPanel = Make<Panel>(this, "MpegInfoPanel");
    MpegInfoPanel->SetEdge(Panel::Edge::Lowered);
    MpegInfoPanel->SetFont(clBlue, true);
    DiskCaps = new TDiskCaps(this);
    DiskCaps->SetName("DiskCaps");

    BuildId3Tab();
    BuildListTab();
    BuildCddbTab();
    BuildOptionTab();
    BuildNameTab();
    BuildInfoTab();
    PageControl1->SetActivePage(ID3Tab);

    IniStore = new TFormStorage(this);
    IniStore->SetName("IniStore");
    IniStore->SetActive(false);  // restored and saved by FormCreate and FormClose
    IniStore->SetIniSection(kSection);
    IniStore->SetOptions(fpPosition | fpActiveControl);
    for (const char* line : kStoredProps) IniStore->StoredProps()->Add(line);
    EndLoading();

    GradientCaption = GiveGradientCaption(*this);
    built_ = true;
    Arrange();
    Connect();
    watch_ = new Watch(*this);
    FormCreate();
}

TID3Frm::~TID3Frm() {
    delete watch_;
    if (ID3Frm == this) ID3Frm = nullptr;
    Destroying_();
    DestroyComponents();
}

void TID3Frm::Connect() {
    DirTree->Get()->OnChange = [this](QObject*, QTreeWidgetItem*) { RunGuarded([this] { DirTreeChange(); }); };
    TID3FileBox* box = FileBox->Get();
    box->OnChange = [this](QObject*) { RunGuarded([this] { FileBoxChange(); }); };
    QObject::connect(box, &QListWidget::currentRowChanged, box, [this, box](int) {
        if (!box->Reading()) RunGuarded([this] { FileBoxChange(); });
    });
    box->OnDblClick = [this](QObject*) { RunGuarded([this] { FileBoxDblClick(); }); };
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
    auto click = [this](auto* control, void (TID3Frm::*handler)()) {
        control->OnClick = [this, handler](wb::Persistent*) { (this->*handler)(); };
    };
    click(ApplyBtn, &TID3Frm::ApplyBtnClick);
    click(DelBtn, &TID3Frm::DelBtnClick);
    click(CopyBtn, &TID3Frm::CopyBtnClick);
    click(PasteBtn, &TID3Frm::PasteBtnClick);
    click(SwitchBtn, &TID3Frm::SwitchBtnClick);
    click(RenameBtn, &TID3Frm::RenameBtnClick);
    click(UseDotChk, &TID3Frm::UseDotChkClick);
    click(AplAlbumChk, &TID3Frm::AplAlbumChkClick);
    PageControl1->OnChange = [this](wb::Persistent*) { PageControl1Change(); };
    click(VlLabel1, &TID3Frm::VlLabel1Click);
    click(VlLabel2, &TID3Frm::VlLabel2Click);
    click(SpeedButton1, &TID3Frm::SpeedButton1Click);
    click(ReadDiskInfoBtn, &TID3Frm::ReadDiskInfoBtnClick);
    click(NewTagListBtn, &TID3Frm::NewTagListBtnClick);
    click(ChgTagListBtn, &TID3Frm::ChgTagListBtnClick);
    click(DelTagListBtn, &TID3Frm::DelTagListBtnClick);
    click(AutoTagBtn, &TID3Frm::AutoTagBtnClick);
    click(MakePlListBtn, &TID3Frm::MakePlListBtnClick);
    TagListGrd->Get()->OnClick = [this](StringGrid*) { TagListGrdClick(); };
    TagListGrd->Get()->SetOnGetCellFormat(
        [this](TVlSortGrid*, int col, int row, TGridDrawState, TFormatOptions& fo) { TagListGrdGetCellFormat(col, row, fo); });
    click(FileCDDBBtn, &TID3Frm::FileCDDBBtnClick);
    click(ConnectBtn, &TID3Frm::ConnectBtnClick);
    // Esc presses the window's cancel button, as Enter presses its default one.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), Window());
    QObject::connect(escape, &QShortcut::activated, Window(), [this] { DelBtn->Click(); });
    OnCloseQuery = [this](wb::Persistent*, bool&) { FormClose(); };
}

void TID3Frm::Arrange() {
    const int w = ClientWidth(), h = ClientHeight();
    const int rightWidth = std::max(w - kTreeWidth - 4, 100);
    const int bottom = h - kStatusHeight - 2;
    TreePanel->SetBounds(0, 0, kTreeWidth, bottom);
    DirTree->SetBounds(0, 0, kTreeWidth, bottom);
    PageControl1->SetBounds(kTreeWidth + 4, 0, rightWidth, kPagesHeight);
    FileBox->SetBounds(kTreeWidth + 4, kPagesHeight + 4, rightWidth, std::max(bottom - kPagesHeight - 4, 40));
    StatusPanel->SetBounds(0, h - kStatusHeight, w / 2 - 1, kStatusHeight);
    MpegInfoPanel->SetBounds(w / 2 + 1, h - kStatusHeight, w - w / 2 - 1, kStatusHeight);
}

void TID3Frm::WndProc(Message& msg) {
    Form::WndProc(msg);
    if (msg.Msg == WM_SIZE && built_) {
        Arrange();
    } else if (msg.Msg == WM_GETMINMAXINFO && msg.LParam) {
        auto* info = reinterpret_cast<MinMaxInfo*>(msg.LParam);
        info->minTrackSize.x = std::max(info->minTrackSize.x, 640);
        info->minTrackSize.y = std::max(info->minTrackSize.y, 480);
    }
}

// --- settings --------------------------------------------------------------

std::string TID3Frm::ReadSetting(const std::string& key) const {
    return wb::IniFile(IniFileName()).ReadString(kSection, key, "");
}

void TID3Frm::WriteSetting(const std::string& key, const std::string& value) const {
    wb::IniFile(IniFileName()).WriteString(kSection, key, value);
}

void TID3Frm::FormCreate() {
    if (auto problem = FinishDownloadedUpdate(programFolder_)) ShowMessage(*problem, MsgKind::Error);
    const std::vector<std::string> unreadable = cddbRequests_.Load(RequestFileName());
    if (!unreadable.empty()) {
        std::string text = "These lines of \"" + RequestFileName() + "\" are no CDDB requests; they stay in the file:";
        for (const auto& line : unreadable) text += "\n" + line;
        ShowMessage(text, MsgKind::Warning);
    }
    UpdateConnectBtn();

    TVlDriveComboBox& drives = *CDDriveList;
    const std::string drive = ReadSetting("CDDrive");
    if (!drive.empty()) drives.SetDrive(drive);
    else if (drives.Count() > 0) drives.SetItemIndex(0);

    // A stored folder that is gone opens its nearest parent; one on a drive
    // that is gone, the music folder.
    const std::string folder = ReadSetting("Dirtree");
    TVlDirectoryTree& tree = *DirTree->Get();
    tree.HandleNeeded();
    try {
        tree.SetDirectory(folder.empty() ? MusicFolder() : folder);
    } catch (const std::exception&) {
        tree.SetDirectory(MusicFolder());
    }

    IniStore->SetIniFileName(IniFileName());
    IniStore->RestoreFromStorage();

    if (wb::MakeFolders(TagsFolder())) RenFileBox->Get()->SetPath(TagsFolder());
    FillTagListGrid();
    ShowFileStatus(FileStatus::NoFile);
    lastPage_ = PageControl1->ActivePage() ? PageControl1->ActivePage()->Name() : "";
}

void TID3Frm::FormClose() {
    WriteSetting("Dirtree", DirTree->Get()->GetDirectory());
    WriteSetting("CDDrive", CDDriveList->Drive());
    IniStore->SaveToStorage();
    try {
        cddbRequests_.Save(RequestFileName());
    } catch (const std::exception& e) {
        ShowMessage(e.what(), MsgKind::Error);
    }
}

// --- CDDB ------------------------------------------------------------------

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
        ~Again() { f.ReadDiskInfoBtn->SetEnabled(f.CDDriveList->Count() > 0); }
    } again{*this};
    try {
        AddCddbRequest(ReadDiskInfo(CDDriveList->Drive()));
    } catch (const CddbError& e) {
        ShowMessage(e.what(), MsgKind::Error);
    }
}

void TID3Frm::FileCDDBBtnClick() {
    TVirtualCD cd([this](const TDiskInfoRec& disc) { AddCddbRequest(disc); });
    cd.FillList(FileBox->Get()->Directory(), FileBox->Get()->ItemTexts());
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
    std::unique_ptr<TChooseFrm> ownChooser;
    TChooseFrm* chooser = ChooseFrm;
    if (!chooser) chooser = (ownChooser = std::make_unique<TChooseFrm>()).get();
    {
        TCddbStatFrm status(cddbRequests_, {UrlEdit->Text(), PortEdit->Text()}, settings, *chooser);
        status.ShowModal();
    }
    FillTagListGrid();
    UpdateConnectBtn();
}

// --- the file list ---------------------------------------------------------

void TID3Frm::DirTreeChange() {
    try {
        FileBox->Get()->SetPath(DirTree->Get()->GetDirectory());
    } catch (const std::exception&) {
        // A drive that is not ready lists nothing; the tree stays usable.
    }
    const bool files = FileBox->Get()->count() > 0;
    FileCDDBBtn->SetEnabled(files);
    MakePlListBtn->SetEnabled(files);
    // A chosen list enables Autotag; without one it keeps its state.
    if (!files) AutoTagBtn->SetEnabled(false);
    else if (!ChosenTagList().empty()) AutoTagBtn->SetEnabled(!Autotag);
}

std::string TID3Frm::SelectedName() const {
    int row = FileBox->Get()->ItemIndex();
    auto texts = FileBox->Get()->ItemTexts();
    return row >= 0 && row < int(texts.size()) ? texts[size_t(row)] : std::string();
}

void TID3Frm::FileBoxChange() {
    const std::string path = FileBox->Get()->FileName();
    if (!path.empty()) {
        LoadFile(path);
        currentTrack_ = TrackFromName(path);
        FileCDDBBtn->SetEnabled(true);
    } else {
        ClearDisplay();
        ShowFileStatus(FileStatus::NoFile);
        FileCDDBBtn->SetEnabled(false);
    }
}

void TID3Frm::RefreshFileList() {
    FileBox->Get()->Reread();
    ClearDisplay();
    ApplyBtn->SetEnabled(false);
    DelBtn->SetEnabled(false);
}

void TID3Frm::DirTreeKeyUp(int key) {
    if (key == 0x74) DirTree->Get()->RefreshTree();
}

void TID3Frm::FileBoxKeyUp(int key) {
    if (key == 0x74) FileBox->Get()->Reread();
}

void TID3Frm::FileBoxDblClick() {
    const std::string path = FileBox->Get()->FileName();
    if (!path.empty() && TVlShell::Open && !TVlShell::Open(path))
        ShowMessage("\"" + path + "\" could not be opened with its program.", MsgKind::Error);
}

void TID3Frm::VlLabel1Click() {
    if (TVlShell::Open) TVlShell::Open(kMailLink);
}

void TID3Frm::VlLabel2Click() {
    if (TVlShell::Open) TVlShell::Open(kWebLink);
}

void TID3Frm::SpeedButton1Click() {
    if (!LUpdateFrm) return;
    VersionView->Refresh();
    if (!VersionView->VersionNumber.empty()) LUpdateFrm->ProgramVersion = VersionView->VersionNumber;
    LUpdateFrm->ShowModal();
}

void TID3Frm::PageControl1Change() {
    const std::string now = PageControl1->ActivePage() ? PageControl1->ActivePage()->Name() : "";
    if (lastPage_ == "CDDBTab" && now != lastPage_) DiskCaps->SetCheckSNChange(false);
    lastPage_ = now;
}

// --- the tag in the boxes --------------------------------------------------

void TID3Frm::ShowFileStatus(FileStatus status) {
    if (status == status_ && statusShown_) return;
    statusShown_ = true;
    status_ = status;
    const FileStatusLook& look = LookOf(status);
    StatusPanel->SetColor(look.Color);
    StatusPanel->SetFont(look.FontColor, true);
    StatusPanel->SetCaption(look.Text);
}

void TID3Frm::ClearDisplay() {
    for (Edit* e : {SongEdit, ArtistEdit, AlbumEdit, YearEdit, CommentEdit, TrackEdit, RenameEdit}) e->SetText("");
    PaintTrackEdit(false);
    GenreCombo->SetItemIndex(-1);
    MpegInfoPanel->SetCaption("No Info ...");
    for (Button* b : {DelBtn, ApplyBtn, RenameBtn}) b->SetEnabled(false);
}

namespace {
// A box is written only when its text changes: each write lays the text out
// again, and selecting file after file is the window's busiest road.
void Put(Edit* edit, const std::string& text) {
    if (edit->Text() != text) edit->SetText(text);
}
} // namespace

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

namespace {
// Enter and Esc are the window's keys (they press Apply and Delete), never
// characters of the box, so they pass as well.
void DigitsOnly(char& key) {
    if (!(key >= '0' && key <= '9') && key != '\b' && key != '\r' && key != '\x1b') key = 0;
}
} // namespace

void TID3Frm::YearEditKeyPress(char& key) { DigitsOnly(key); }
void TID3Frm::TrackEditKeyPress(char& key) { DigitsOnly(key); }

NameSettings TID3Frm::Settings() const {
    NameSettings s;
    s.Patterns.FileNameAlbum = FileNameAlbumEdit->Text();
    s.Patterns.FileNameSampler = FileNameSamplerEdit->Text();
    s.Patterns.DirNameAlbum = DirNameAlbumEdit->Text();
    s.Patterns.DirNameSampler = DirNameSamplerEdit->Text();
    s.Patterns.PListNameAlbum = PListNameAlbumEdit->Text();
    s.Patterns.PListNameSampler = PListNameSamplerEdit->Text();
    s.Album = AplAlbumChk->Checked();
    s.UseDot = UseDotChk->Checked();
    s.Replacement = UseIsteadSpaceEdit->Text();
    return s;
}

void TID3Frm::UpdateRenameProposal() {
    RenameEdit->SetText(
        velmora::UpdateRenameProposal(tag_, SongEdit->Text(), ArtistEdit->Text(), Autotag, Settings()));
}

void TID3Frm::UseDotChkClick() { UpdateRenameProposal(); }
void TID3Frm::GroupBox4Exit() { UpdateRenameProposal(); }
void TID3Frm::AplAlbumChkClick() { RenameEdit->SetText(MakeRenameProposal(tag_, Settings())); }

void TID3Frm::RenameEditChange() {
    RenameBtn->SetEnabled(!RenameEdit->Text().empty() && FileBox->Get()->ItemIndex() >= 0);
}

bool TID3Frm::RenameSelected() {
    const std::string name = SelectedName();
    if (name.empty()) return false;
    RenameResult result = RenameFile(FileBox->Get()->Directory(), name, RenameEdit->Text());
    if (result.status != RenameResult::Status::Refused) return true;
    ShowMessage(result.message, MsgKind::Error);
    return false;
}

void TID3Frm::RenameBtnClick() {
    if (SelectedName().empty()) return;
    RenameSelected();
    RefreshFileList();
}

void TID3Frm::RenameDirectory(const std::string& path, const std::string& newName) {
    if (path.empty() || newName.empty()) return;
    RenameResult result = velmora::RenameDirectory(path, newName, Settings());
    if (result.status == RenameResult::Status::Refused) ShowMessage(result.message, MsgKind::Error);
    FollowFolder(result.path);
}

void TID3Frm::FollowFolder(const std::string& path) {
    TVlDirectoryTree& tree = *DirTree->Get();
    tree.RefreshTree();
    tree.SetDirectory(path);
    FileBox->Get()->SetPath(tree.GetDirectory());
}

// --- the buttons -----------------------------------------------------------

void TID3Frm::ApplyBtnClick() {
    const std::string path = FileBox->Get()->FileName();
    if (path.empty()) return;
    const std::string refusal = TrackRefusal(TrackEdit->Text());
    if (!refusal.empty()) {
        ShowMessage(refusal, MsgKind::Error);
        return;
    }
    TagBoxes boxes{SongEdit->Text(), ArtistEdit->Text(), AlbumEdit->Text(), YearEdit->Text(),
                   CommentEdit->Text(), TrackEdit->Text(), GenreCombo->ItemIndex() >= 0 ? GenreCombo->Text() : ""};
    WriteTag(path, TagFromBoxes(boxes));
    if (AutoRenameCheck->Checked()) RenameSelected();
    RefreshFileList();
    if (NextFileChk->Checked() && currentTrack_ >= 0) {
        const int next = FileIndexByTrack(currentTrack_ + 1, FileBox->Get()->ItemTexts());
        if (next >= 0) {
            FileBox->Get()->setCurrentRow(next);  // loads it, through FileBoxChange
        } else {
            currentTrack_ = -1;
        }
    }
}

void TID3Frm::DelBtnClick() {
    const std::string path = FileBox->Get()->FileName();
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
