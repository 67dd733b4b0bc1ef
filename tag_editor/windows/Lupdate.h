#pragma once
// The live update: fetch "Update.ini" from the update server, compare its
// version with the program's, offer the newer one, download the archive
// with progress, and hand over to the updater beside the program.
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Form.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/Timer.h"
#include "platform/net/HttpClient.h"
#include "tag_editor/controls/decoration/VlGrdCpt.h"
#include "tag_editor/controls/decoration/VlPrgres.h"

namespace velmora {

// Where the update information lies unless the settings say otherwise
// ("UpdateURL" in section "Main" of "Velmora.Ini").
extern const char* const kDefaultUpdateAddress;

class TDirFrm;

class TLUpdateFrm : public wb::gui::Form {
public:
    // folderChooser: the window "Download only" asks for its folder; without
    // one the live update makes its own when first asked.
    explicit TLUpdateFrm(TDirFrm* folderChooser = nullptr);
    ~TLUpdateFrm() override;

    void FormShow();
    void TimerTimer();
    void DownloadBtnClick();
    void BitBtn3Click();
    void CancelBtnClick();
    void FormClose();
    void OKBtnClick();
    void UpdateHTTPPacketRecvd(uint64_t received, uint64_t total);
    void ShowUpdateStatus(const std::string& text, int kind);
    void FinishUpdateWindow();
    void CheckForUpdate();

    // The program's own version, as its version label shows it.
    std::string ProgramVersion = "1.0.0.0";
    // The folder "Update.ini", "Head.txt", the installed archive and the updater live in.
    std::string ProgramFolder;
    // The address of "Update.ini".
    std::string UpdateAddress;
    // Chooses the folder for "Download only"; empty for a cancelled choice.
    std::function<std::string(const std::string& start)> ChooseFolder;
    // Starts the updater's command line and ends the program.
    std::function<void(const std::string& commandLine)> StartUpdater;

    wb::gui::Child<wb::gui::Panel> InfoPanel;
    wb::gui::Child<wb::gui::Image> IconImage;
    wb::gui::Child<wb::gui::Panel> VersionPanel;
    wb::gui::Child<wb::gui::Label> NewVerLabel, OldVerLabel;
    wb::gui::Child<wb::gui::Panel> NewVerPanel, OldVerPanel;
    wb::gui::Child<wb::gui::Button> DownloadBtn, BitBtn3;
    wb::gui::Child<wb::gui::Panel> DownloadPanel;
    wb::gui::Child<TVlProgressBar> ProgressBar;
    wb::gui::Child<wb::gui::Label> TotalLabel, TotalBytes, RecLabel, RecBytes;
    wb::gui::Child<wb::gui::Panel> TotalSizePanel, RecSizePanel;
    wb::gui::Child<wb::gui::Button> OKBtn, CancelBtn;
    wb::gui::Timer* Timer;
    TVlGradientCaption* Caption1;

    bool UpdateCancelled = false, InstallChosen = false, DownloadOnlyChosen = false, InstallReady = false;
    // The archive handed to the updater.
    std::string ArchiveFile;
    int StatusKind() const { return statusKind_; }

private:
    // A check stops when it offers an update; the button of the user's
    // choice goes on from there, so nothing waits for the choice.
    enum class Stage { Idle, Checking, Offered, Downloading };
    void DownloadChosen(bool install);
    // Reads the fetched "Update.ini" and offers what it holds, if newer.
    void Offer(const std::string& info);
    // Whether a transfer's answer is there to use; a failure the window
    // words ends the run, one with words of its own is thrown for the guard.
    bool Answered(const wb::net::HttpOutcome& got, const std::string& lost);
    // A run's end in failure: its text in the status line, OK to close.
    void Failed(const std::string& text);
    std::unique_ptr<wb::net::HttpClient> http_;
    std::unique_ptr<TDirFrm> ownFolderChooser_;
    int statusKind_ = -1;
    Stage stage_ = Stage::Idle;
    // What the update information offers, kept for the download.
    std::string offeredVersion_, offeredFile_, offeredUrl_;
};

} // namespace velmora
