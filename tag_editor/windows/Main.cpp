// The main window itself: its making, the folder tree and the file list,
// the status lines, placement and settings. Each tab has a unit of its own.
#include "tag_editor/windows/Main.h"

#include <algorithm>
#include <exception>

#include "platform/base/File.h"
#include "platform/base/IniFile.h"
#include "platform/base/ProgramPaths.h"
#include "platform/gui/Guard.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/WinMsg.h"
#include "tag_editor/windows/Choose.h"
#include "tag_editor/windows/EditTag.h"
#include "tag_editor/windows/ID3FileBox.h"
#include "tag_editor/windows/Lupdate.h"
#include "tag_editor/windows/WindowCaption.h"
#include "tag_editor/controls/filesystem/DiskCaps.h"
#include "tag_editor/controls/storage/Placemnt.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/filesystem/VlDriveComboBox.h"
#include "tag_editor/controls/filesystem/VlShell.h"

namespace velmora {

using namespace wb::gui;

namespace {

const char kSection[] = "Main";

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

const wb::ClassInfo& TID3Frm::StaticClass() {
    static const wb::ClassInfo info("TID3Frm", &Form::StaticClass());
    return info;
}

TID3Frm::TID3Frm(const std::string& programFolder)
    : programFolder_(programFolder.empty() ? wb::BesideProgramFolder(wb::ProgramFolder(), "velmora")
                                           : programFolder) {
    BeginLoading();
    SetName("ID3Frm");
    SetCaption("Velmora");
    SetBounds(40, 40, 800, 573);

    TreePanel = Make<Panel>(this, "TreePanel");
    TreePanel->SetEdge(Panel::Edge::None);
    DirTree = Child<TVlDirectoryTree>(*TreePanel, "DirTree");
    PageControl1 = Make<PageControl>(this, "PageControl1");
    auto page = [&](Child<TabSheet>& sheet, const char* name, const char* caption) {
        sheet = Make<TabSheet>(PageControl1, name);
        sheet->SetCaption(caption);
    };
    page(ID3Tab, "ID3Tab", "ID3 Tag");
    page(ListTagTab, "ListTagTab", "Tag from list");
    page(CDDBTab, "CDDBTab", "CDDB");
    page(OptionTab, "OptionTab", "Options");
    page(NameFormSheet, "NameFormSheet", "Customize names");
    page(InfoTab, "InfoTab", "Info / Update");
    FileBox = Child<TID3FileBox>(*this, "FileBox");
    FileBox->SetMask("*.mp3");
    FileBox->SetSelectionMode(ListBox::SelectionMode::Single);
    DirTree->SetFileList(FileBox);
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
    FormCreate();
}

TID3Frm::~TID3Frm() {
    ownLiveUpdate_.reset();
    ownChooser_.reset();
    ownTagListEditor_.reset();
    Destroying_();
    DestroyComponents();
}

TID3Frm::Child<TID3Frm::Label> TID3Frm::MakeLabel(WinControl* parent, const char* name, const std::string& caption, int left,
                                   int top) {
    auto label = Make<Label>(parent, name);
    label->SetCaption(caption);
    label->SetLeft(left);
    label->SetTop(top);
    return label;
}

TID3Frm::Child<TID3Frm::CheckBox> TID3Frm::MakeCheck(WinControl* parent, const char* name, const std::string& caption,
                                      bool checked, int left, int top, int width) {
    auto check = Make<CheckBox>(parent, name);
    check->SetCaption(caption);
    check->SetChecked(checked);
    check->SetBounds(left, top, width, 20);
    return check;
}

TID3Frm::Child<TID3Frm::Button> TID3Frm::MakeButton(WinControl* parent, const char* name, const std::string& caption, int left,
                                     int top, int width) {
    auto button = Make<Button>(parent, name);
    button->SetCaption(caption);
    button->SetBounds(left, top, width, 25);
    return button;
}

TID3Frm::Child<TID3Frm::Edit> TID3Frm::MakeEdit(WinControl* parent, const char* name, const std::string& text, int left, int top,
                                 int width) {
    auto edit = Make<Edit>(parent, name);
    edit->SetText(text);
    edit->SetBounds(left, top, width, kRowHeight);
    return edit;
}

void TID3Frm::Connect() {
    DirTree->OnChange = [this](wb::Persistent*, TreeNode*) { DirTreeChange(); };
    DirTree->OnKeyUp = [this](wb::Persistent*, int& key, TShiftState) { DirTreeKeyUp(key); };
    FileBox->OnChange = [this](wb::Persistent*) { RunGuarded([this] { FileBoxChange(); }); };
    FileBox->OnCurrentChange = [this](wb::Persistent*) {
        if (!FileBox->Reading()) FileBoxChange();
    };
    FileBox->OnDblClick = [this](wb::Persistent*) { FileBoxDblClick(); };
    FileBox->OnKeyUp = [this](wb::Persistent*, int& key, TShiftState) { FileBoxKeyUp(key); };
    ConnectId3Tab();
    ConnectOptionTab();
    PageControl1->OnChange = [this](wb::Persistent*) { PageControl1Change(); };
    ConnectInfoTab();
    ConnectListTab();
    ConnectCddbTab();
    // Esc presses the window's cancel button, as Enter presses its default one.
    SetCancelButton(DelBtn);
    GroupBox4->OnExit = [this](wb::Persistent*) { GroupBox4Exit(); };
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

void TID3Frm::PageControl1Change() {
    const std::string now = PageControl1->ActivePage() ? PageControl1->ActivePage()->Name() : "";
    if (lastPage_ == "CDDBTab" && now != lastPage_) {
        DiskCaps->SetCheckSNChange(false);
        ShowCddbTabStatus(false);
    }
    if (now == "CDDBTab" && now != lastPage_) ShowCddbTabStatus(true);
    lastPage_ = now;
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
    TVlDirectoryTree& tree = *DirTree;
    tree.HandleNeeded();
    try {
        tree.SetDirectory(folder.empty() ? MusicFolder() : folder);
    } catch (const std::exception&) {
        tree.SetDirectory(MusicFolder());
    }

    IniStore->SetIniFileName(IniFileName());
    IniStore->RestoreFromStorage();

    if (wb::MakeFolders(TagsFolder())) RenFileBox->SetPath(TagsFolder());
    FillTagListGrid();
    ShowFileStatus(FileStatus::NoFile);
    lastPage_ = PageControl1->ActivePage() ? PageControl1->ActivePage()->Name() : "";
    if (lastPage_ == "CDDBTab") ShowCddbTabStatus(true);
}

void TID3Frm::FormClose() {
    // The request queue is a file of its own: a settings file that cannot be
    // written must not cost the discs still waiting for their lists.
    std::exception_ptr settingsFailure;
    try {
        WriteSetting("Dirtree", DirTree->GetDirectory());
        WriteSetting("CDDrive", CDDriveList->Drive());
        IniStore->SaveToStorage();
    } catch (...) {
        settingsFailure = std::current_exception();
    }
    cddbRequests_.Save(RequestFileName());
    if (settingsFailure) std::rethrow_exception(settingsFailure);
}

// --- the tree and the file list --------------------------------------------

void TID3Frm::DirTreeChange() {
    try {
        FileBox->SetPath(DirTree->GetDirectory());
    } catch (const std::exception&) {
        // A drive that is not ready lists nothing; the tree stays usable.
    }
    const bool files = FileBox->Count() > 0;
    FileCDDBBtn->SetEnabled(files);
    MakePlListBtn->SetEnabled(files);
    // A chosen list enables Autotag; without one it keeps its state.
    if (!files) AutoTagBtn->SetEnabled(false);
    else if (!ChosenTagList().empty()) AutoTagBtn->SetEnabled(!Autotag);
}

std::string TID3Frm::SelectedName() const {
    const int row = FileBox->ItemIndex();
    const auto names = FileBox->FileNames();
    return row >= 0 && row < int(names.size()) ? names[size_t(row)] : std::string();
}

void TID3Frm::FileBoxChange() {
    const std::string path = FileBox->FileName();
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
    FileBox->Reread();
    ClearDisplay();
    ApplyBtn->SetEnabled(false);
    DelBtn->SetEnabled(false);
}

void TID3Frm::DirTreeKeyUp(int key) {
    if (key == VK_F5) DirTree->RefreshTree();
}

void TID3Frm::FileBoxKeyUp(int key) {
    if (key == VK_F5) FileBox->Reread();
}

void TID3Frm::FileBoxDblClick() {
    const std::string path = FileBox->FileName();
    if (!path.empty() && TVlShell::Open && !TVlShell::Open(path))
        ShowMessage("\"" + path + "\" could not be opened with its program.", MsgKind::Error);
}

void TID3Frm::RenameDirectory(const std::string& path, const std::string& newName) {
    if (path.empty() || newName.empty()) return;
    RenameResult result = velmora::RenameDirectory(path, newName, Settings());
    if (result.status == RenameResult::Status::Refused) ShowMessage(result.message, MsgKind::Error);
    FollowFolder(result.path);
}

void TID3Frm::FollowFolder(const std::string& path) {
    TVlDirectoryTree& tree = *DirTree;
    // The drive read again in place: the folders the user opened stay open.
    const std::string drive = tree.GetDrive();
    if (!drive.empty()) tree.RefreshDrive(drive);
    tree.SetDirectory(path);
    FileBox->SetPath(tree.GetDirectory());
}

void TID3Frm::ShowFileStatus(FileStatus status) {
    if (status == status_ && statusShown_) return;
    statusShown_ = true;
    status_ = status;
    const FileStatusLook& look = LookOf(status);
    StatusPanel->SetColor(look.Color);
    StatusPanel->SetFont(look.FontColor, true);
    StatusPanel->SetCaption(look.Text);
}

} // namespace velmora
