#include "tag_editor/windows/Lupdate.h"

#include <filesystem>

#include "platform/base/IniFile.h"
#include "platform/base/ProgramPaths.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Shell.h"
#include "tag_editor/windows/DirChoos.h"
#include "tag_editor/logic/TagCodec.h"
#include "tag_editor/logic/UpdateRules.h"
#include "tag_editor/windows/WindowCaption.h"

namespace velmora {

using namespace wb::gui;
namespace fs = std::filesystem;

const char* const kDefaultUpdateAddress = "http://velmora.example.org/Software/Velmora/Update.ini";

namespace {

const TColor kBlue = RGBColor(0, 0, 255), kRed = RGBColor(255, 0, 0);

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

// The four status pictures: asking, trouble, downloading, nothing new;
// status kinds 0 to 3 show pictures 0, 2, 1 and 3.
void PaintStatusIcon(Canvas& c, int w, int h, int kind) {
    static const int pictureOf[] = {0, 2, 1, 3};
    const int picture = kind >= 0 && kind < 4 ? pictureOf[kind] : 0;
    const TColor colours[] = {kBlue, kRed, RGBColor(0, 128, 0), clGray};
    c.Brush() = {colours[picture], BrushStyle::Solid};
    c.Pen().Color = clBlack;
    c.Ellipse({2, 2, w - 2, h - 2});
    c.Font().Color = clWhite;
    c.Font().Style = fsBold;
    c.Brush().Style = BrushStyle::Clear;
    const char* glyph[] = {"?", "!", "v", "="};
    c.DrawText({0, 0, w, h}, glyph[picture], tfCenter | tfVCenter | tfSingleLine);
}

} // namespace

TLUpdateFrm::TLUpdateFrm(TDirFrm* folderChooser)
    : Form(nullptr, FormKind::Dialog),
      InfoPanel(*this, "InfoPanel"),
      IconImage(*InfoPanel, "IconImage"),
      VersionPanel(*this, "VersionPanel"),
      NewVerLabel(*VersionPanel, "NewVerLabel", "New version :"),
      OldVerLabel(*VersionPanel, "OldVerLabel", "Current version :"),
      NewVerPanel(*VersionPanel, "NewVerPanel"),
      OldVerPanel(*VersionPanel, "OldVerPanel"),
      DownloadBtn(*VersionPanel, "DownloadBtn", "&Download only"),
      BitBtn3(*VersionPanel, "BitBtn3", "Download and &install "),
      DownloadPanel(*this, "DownloadPanel"),
      ProgressBar(*DownloadPanel, "ProgressBar"),
      TotalLabel(*DownloadPanel, "TotalLabel", "Total Size :"),
      TotalBytes(*DownloadPanel, "TotalBytes", "Bytes."),
      RecLabel(*DownloadPanel, "RecLabel", "Received Size :"),
      RecBytes(*DownloadPanel, "RecBytes", "Bytes."),
      TotalSizePanel(*DownloadPanel, "TotalSizePanel"),
      RecSizePanel(*DownloadPanel, "RecSizePanel"),
      OKBtn(*this, "OKBtn", "&OK"),
      CancelBtn(*this, "CancelBtn", "&Cancel"),
      http_(std::make_unique<wb::net::HttpClient>()) {
    SetName("LUpdateFrm");
    SetCaption("Velmora");
    SetSingleBorder(false);
    SetPosition(poScreenCenter);
    SetClientSize(400, 214);
    ProgramFolder = wb::BesideProgramFolder();
    UpdateAddress = wb::IniFile(wb::BesideProgram("Velmora.Ini")).ReadString("Main", "UpdateURL", "");
    if (UpdateAddress.empty()) UpdateAddress = kDefaultUpdateAddress;

    InfoPanel->SetBounds(8, 8, 384, 40);
    InfoPanel->SetEdge(Panel::Edge::Lowered);
    IconImage->SetBounds(6, 6, 28, 28);
    IconImage->OnPaint = [this](Canvas& c, int w, int h) { PaintStatusIcon(c, w, h, statusKind_); };

    VersionPanel->SetBounds(8, 56, 384, 104);
    NewVerLabel->SetBounds(10, 10, 110, 18);
    NewVerPanel->SetBounds(124, 8, 120, 22);
    OldVerLabel->SetBounds(10, 38, 110, 18);
    OldVerPanel->SetBounds(124, 36, 120, 22);
    for (Panel* p : {NewVerPanel.get(), OldVerPanel.get()}) p->SetEdge(Panel::Edge::Lowered);
    DownloadBtn->SetBounds(10, 68, 170, 28);
    BitBtn3->SetBounds(190, 68, 184, 28);
    DownloadBtn->SetHint("1. Choose directory to save Update\n2. Download file");
    BitBtn3->SetHint("1. Download file\n2. Install Update\n3. Delete file");

    DownloadPanel->SetBounds(8, 56, 384, 104);
    ProgressBar->SetBounds(10, 10, 364, 24);
    TotalLabel->SetBounds(10, 44, 110, 18);
    TotalSizePanel->SetBounds(124, 42, 150, 22);
    TotalBytes->SetBounds(280, 44, 60, 18);
    RecLabel->SetBounds(10, 72, 110, 18);
    RecSizePanel->SetBounds(124, 70, 150, 22);
    RecBytes->SetBounds(280, 72, 60, 18);
    for (Panel* p : {TotalSizePanel.get(), RecSizePanel.get()}) p->SetEdge(Panel::Edge::Lowered);

    OKBtn->SetBounds(220, 174, 80, 30);
    CancelBtn->SetBounds(310, 174, 80, 30);
    OKBtn->SetEnabled(false);
    // Escape is Cancel's, so it does nothing while Cancel is off (an install
    // that waits for OK is not skipped by it).
    SetCancelButton(CancelBtn.get());
    VersionPanel->SetVisible(false);
    DownloadPanel->SetVisible(false);

    Timer = new wb::gui::Timer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(1000);
    Timer->OnTimer = [this](wb::Persistent*) { TimerTimer(); };

    DownloadBtn->OnClick = [this](wb::Persistent*) { DownloadBtnClick(); };
    BitBtn3->OnClick = [this](wb::Persistent*) { BitBtn3Click(); };
    CancelBtn->OnClick = [this](wb::Persistent*) { CancelBtnClick(); };
    OKBtn->OnClick = [this](wb::Persistent*) { OKBtnClick(); };
    OnShow = [this](wb::Persistent*) { FormShow(); };
    OnClose = [this](wb::Persistent*) { FormClose(); };
    http_->OnPacket = [this](uint64_t got, uint64_t total) { UpdateHTTPPacketRecvd(got, total); };

    ChooseFolder = [this, folderChooser](const std::string& start) -> std::string {
        TDirFrm* chooser = folderChooser;
        if (!chooser) {
            if (!ownFolderChooser_) ownFolderChooser_ = std::make_unique<TDirFrm>();
            chooser = ownFolderChooser_.get();
        }
        chooser->DirTree->SetDirectory(start);
        return chooser->ShowModal() == 1 ? chooser->DirTree->GetDirectory() : std::string();
    };
    StartUpdater = [this](const std::string& commandLine) {
        if (!StartProgram(commandLine, ProgramFolder)) throw std::runtime_error("The updater could not be started: " + commandLine);
        if (Form* main = MainForm()) main->Close();
    };
    Caption1 = GiveGradientCaption(*this);
}

TLUpdateFrm::~TLUpdateFrm() {
    UpdateCancelled = true;
    http_->Abort();
}

void TLUpdateFrm::FormShow() {
    UpdateCancelled = false;
    VersionPanel->SetVisible(false);
    DownloadPanel->SetVisible(false);
    VersionPanel->SetEnabled(true);
    DownloadPanel->SetEnabled(true);
    OKBtn->SetEnabled(false);
    CancelBtn->SetEnabled(true);
    ProgressBar->SetPercent(0);
    TotalSizePanel->SetCaption("");
    RecSizePanel->SetCaption("");
    ShowUpdateStatus("Checking for new version of Velmora", 0);
    Timer->SetEnabled(true);
}

void TLUpdateFrm::TimerTimer() {
    Timer->SetEnabled(false);
    if (!UpdateCancelled && stage_ == Stage::Idle) CheckForUpdate();
}

void TLUpdateFrm::DownloadBtnClick() { DownloadChosen(false); }
void TLUpdateFrm::BitBtn3Click() { DownloadChosen(true); }

void TLUpdateFrm::CancelBtnClick() {
    UpdateCancelled = true;
    if (stage_ == Stage::Offered) stage_ = Stage::Idle;
    http_->Abort();
    FinishUpdateWindow();
    ShowUpdateStatus("Live Update aborted", 2);
}

// Closing the window is a cancel: a transfer or a wait for the choice ends.
void TLUpdateFrm::FormClose() {
    if (stage_ != Stage::Idle && !UpdateCancelled) CancelBtnClick();
    http_->Abort();
}

void TLUpdateFrm::OKBtnClick() {
    const bool install = InstallReady;
    Close();
    if (!install) return;
    InstallReady = false;
    // The updater beside the program, by its whole path, with the
    // application window's number as its one argument.
    const std::string updater = WithSlash(ProgramFolder) + "Update.exe";
    StartUpdater("\"" + updater + "\" " + std::to_string(ApplicationHandle()));
}

void TLUpdateFrm::UpdateHTTPPacketRecvd(uint64_t received, uint64_t total) {
    ProgressBar->SetPercent(DownloadPercent(received, total));
    TotalSizePanel->SetCaption(GroupThousands(total));
    RecSizePanel->SetCaption(GroupThousands(received));
}

void TLUpdateFrm::ShowUpdateStatus(const std::string& text, int kind) {
    if (kind < 0 || kind > 3) return;
    statusKind_ = kind;
    InfoPanel->SetCaption(text);
    InfoPanel->SetFont(kind == 2 ? kRed : kBlue, true);
    IconImage->Invalidate();
}

void TLUpdateFrm::FinishUpdateWindow() {
    CancelBtn->SetEnabled(false);
    OKBtn->SetEnabled(true);
    VersionPanel->SetEnabled(false);
    DownloadPanel->SetEnabled(false);
}

void TLUpdateFrm::CheckForUpdate() {
    if (stage_ != Stage::Idle) return;
    stage_ = Stage::Checking;
    // Back to idle however the check ends, unless it ends with an offer.
    struct End {
        Stage& stage;
        ~End() {
            if (stage == Stage::Checking) stage = Stage::Idle;
        }
    } end{stage_};
    InstallChosen = DownloadOnlyChosen = InstallReady = false;
    ArchiveFile.clear();
    ShowUpdateStatus("Checking for new version of Velmora", 0);
    const std::string folder = WithSlash(ProgramFolder);
    const std::string info = folder + "Update.ini", head = folder + "Head.txt";
    RemoveQuietly(info);
    try {
        if (Answered(http_->Get(UpdateAddress, info, head), "ERROR : No connection to server")) Offer(info);
    } catch (const std::exception& e) {
        RemoveQuietly(info);
        Failed(e.what());
        throw;
    }
}

void TLUpdateFrm::Failed(const std::string& text) {
    ShowUpdateStatus(text, 2);
    FinishUpdateWindow();
}

bool TLUpdateFrm::Answered(const wb::net::HttpOutcome& got, const std::string& lost) {
    // A cancel that came as the answer arrived still ends the check.
    if (UpdateCancelled) return false;
    if (got.Ok()) return true;
    // A reply we refuse or a file that cannot be written has its own words,
    // shown by the guard; a server out of reach has the window's.
    if (got.failure == wb::net::HttpFailure::Protocol || got.failure == wb::net::HttpFailure::Write)
        throw std::runtime_error(got.message);
    Failed(lost);
    return false;
}

void TLUpdateFrm::Offer(const std::string& info) {
    wb::IniFile ini(info);
    // Cleaned where read, so a NUL or a line break cuts no text shown or name built.
    const std::string version = BlankControls(ini.ReadString("UpdateInfo", "Version", ""));
    const std::string fileName = BlankControls(ini.ReadString("UpdateInfo", "FileName", ""));
    const std::string archiveUrl = BlankControls(ini.ReadString("UpdateInfo", "UpdateURL", ""));
    // A version that is no whole-number version is the server's error, shown by the guard.
    if (!IsNewerVersion(ProgramVersion, version)) {
        ShowUpdateStatus("No new version available", 3);
        RemoveQuietly(info);
        BringToFront();
        return FinishUpdateWindow();
    }
    if (const auto refusal = RefuseUpdateFileName(fileName)) throw std::runtime_error(*refusal);
    ShowUpdateStatus("New version available", 0);
    OldVerPanel->SetCaption(ProgramVersion);
    NewVerPanel->SetCaption(version);
    VersionPanel->SetVisible(true);
    offeredVersion_ = version;
    offeredFile_ = fileName;
    offeredUrl_ = archiveUrl;
    stage_ = Stage::Offered;
}

void TLUpdateFrm::DownloadChosen(bool install) {
    // The buttons show only with an offer; one click takes it.
    if (stage_ != Stage::Offered) return;
    stage_ = Stage::Downloading;
    struct End {
        Stage& stage;
        ~End() { stage = Stage::Idle; }
    } end{stage_};
    (install ? InstallChosen : DownloadOnlyChosen) = true;
    const std::string folder = WithSlash(ProgramFolder);
    std::string target = folder;
    if (!install) {
        target = ChooseFolder ? ChooseFolder(ProgramFolder) : std::string();
        if (target.empty()) return CancelBtnClick();
    }
    const std::string archive = ArchivePath(target, offeredFile_, offeredVersion_);
    ShowUpdateStatus("Downloading new version", 1);
    VersionPanel->SetVisible(false);
    DownloadPanel->SetVisible(true);
    try {
        if (!Answered(http_->Get(offeredUrl_, archive, folder + "Head.txt"), "ERROR : Lost connection to server"))
            return;
    } catch (const std::exception& e) {
        Failed(e.what());
        throw;
    }
    if (!LooksLikeArchive(archive)) {
        // A page of the server's in place of the archive is no update either.
        RemoveQuietly(archive);
        return Failed("ERROR : Lost connection to server");
    }
    DownloadPanel->SetVisible(false);
    ArchiveFile = archive;
    if (!install) {
        ShowUpdateStatus("       Download Ready", 0);
        return FinishUpdateWindow();
    }
    ShowUpdateStatus("       Download Ready. Press \"OK\" to finish Update", 0);
    InstallReady = true;
    BringToFront();
    FinishUpdateWindow();
}

} // namespace velmora
