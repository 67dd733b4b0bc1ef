#pragma once
// The main dialog of Parvex: the SPLIT and JOIN panels. The logic talks to its
// window only through DialogHost, so it runs the same on the real window and
// on a recording fake in tests.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file_splitter/ContextMenus.h"
#include "platform/base/ProgramPaths.h"
#include "platform/gui/DialogHost.h"
#include "platform/gui/DialogRunner.h"
#include "platform/gui/Shell.h"

namespace parvex {

struct FirstPiece;

class CMainDlg {
public:
    explicit CMainDlg(wb::gui::DialogHost& host);
    virtual ~CMainDlg();
    CMainDlg(const CMainDlg&) = delete;
    CMainDlg& operator=(const CMainDlg&) = delete;

    // Every control notification of the window arrives here and goes to the
    // handler that the message map names for its id and code.
    void OnCommand(int id, wb::gui::Notify code);

    // Data exchange of the bound controls: the check box "Specify (Kbytes)"
    // with m_bSpecify and the kilobyte field with m_dPresetKB. With
    // saveAndValidate false the controls are refreshed from the fields; with
    // true the fields are read back, false when the kilobyte text is no number.
    bool UpdateData(bool saveAndValidate = true);
    bool SpecifyChecked() const { return m_bSpecify; }
    void SetSpecifyChecked(bool checked) { m_bSpecify = checked; }
    double PresetKilobytes() const { return m_dPresetKB; }
    void SetPresetKilobytes(double kilobytes) { m_dPresetKB = kilobytes; }

    // What the program runs on, given before the dialog opens: the command
    // line after the program's name, further dialogs, the desktop's shell,
    // the settings store and the program's own path.
    void SetArguments(std::vector<std::string> arguments) { m_arguments = std::move(arguments); }
    void SetRunner(wb::gui::DialogRunner& runner) { m_pRunner = &runner; }
    void SetShell(wb::gui::Shell& shell) { m_pShell = &shell; }
    void SetIntegration(parvex::Integration integration) { m_integration = std::move(integration); }
    parvex::Integration& Integration() { return m_integration; }

    // The state of the panels.
    uint64_t FileSize() const { return m_nFileSize; }
    uint64_t PieceSize() const { return m_nPieceSize; }
    uint64_t PresetBytes() const { return m_nPresetBytes; }
    int64_t PendingPieceCount() const { return m_nPieceCount; }
    const std::string& OutputName() const { return m_strOutputName; }
    const std::string& PiecePath() const { return m_strPiecePath; }
    // The id of the preset chosen last, which the next browse chooses again; 0 for none.
    int LastPresetId() const;
    // The next browse takes the path the program was started with.
    bool CommandLinePathPending() const { return m_bCommandLine; }

    // SPLIT panel
    void OnBrowseSplit();
    void OnPreset100K();
    void OnPreset500K();
    void OnPreset1M();
    void OnPreset125M();
    void OnSpecify();
    void OnChangeKilobytes();
    void OnChangeOutputName();
    void OnBreakIt();
    void ResetSplitPanel();

    // JOIN panel
    void OnBrowseJoin();
    void OnRecheck();
    bool CheckPieces();
    void OnAssemble();

    // Start-up and the buttons below the panels (Startup.cpp)
    bool OnInitDialog();
    void OnSysCommand(int commandId);
    void OnAbout();
    void OnExit();
    void OnHelpButton();
    void OnLink();
    void OnContextMenuSettings();
    void OnOK();      // Enter: the bound fields are read back, then the dialog ends
    void OnCancel();  // Esc and the close box

    // File-manager integration (Startup.cpp); the option operations throw
    // wb::IoError when the store or the option file cannot be written.
    void RegisterPieceFileType();
    void SetContextMenuOption1();
    void SetContextMenuOption2();
    void SetContextMenuOption3();
    void ApplyContextMenuOption(const std::string& optionFile);

    // The dialog's result when "Exit" ends the program; it then exits with 1.
    static constexpr int kExitResult = 1034;

protected:
    wb::gui::DialogHost& Host() { return m_host; }

private:
    std::vector<std::string> m_arguments;
    wb::gui::DialogRunner* m_pRunner = nullptr;
    wb::gui::Shell* m_pShell = nullptr;
    parvex::Integration m_integration{wb::Registry::User(), wb::ProgramPath()};

    // Split state
    uint64_t m_nFileSize = 0;        // size of the chosen source; 0 when none
    uint64_t m_nPieceSize = 0;       // bytes per piece; 0 when none
    std::string m_strSourcePath;
    std::string m_strOutputName;     // copy of the output-name field
    // Join state
    std::string m_strPiecePath;      // the first piece chosen for joining
    // Start-up: the next browse takes m_strCommandLinePath instead of asking.
    bool m_bCommandLine = false;
    std::string m_strCommandLinePath;
    bool m_bLast100K = false;
    bool m_bLast500K = false;
    bool m_bLast1M = false;
    bool m_bLast125M = false;
    uint64_t m_nPresetBytes = 0;     // bytes of the preset chosen last
    int64_t m_nPieceCount = 0;       // pieces of the pending split
    bool m_bSpecify = false;         // bound to "Specify (Kbytes)"
    double m_dPresetKB = 0.0;        // bound to the kilobyte field

    struct Preset;
    struct Checker;
    struct MessageMapEntry {
        int id;
        wb::gui::Notify code;
        void (CMainDlg::*handler)();
    };
    static const MessageMapEntry kMessageMap[];
    static const Preset kPresets[4];  // 100 KB, 500 KB, 1.0 MB, 1.25 MB

    // The file a browse works on: the path the program was started with,
    // once, else one chosen in an open dialog (none when it is cancelled).
    std::optional<std::string> BrowsePath(const char* initialName);
    void ChoosePreset(const Preset& preset);
    void EnablePresetsBySize();
    void SetPieceCount(int64_t count);
    bool CheckPiecesWith(const Checker& checker);
    bool LoadFirstPiece(const char* cannotOpenText, FirstPiece& piece);
    void ShowMissing(uint64_t count, uint64_t missing, const std::string& outputName);

    wb::gui::DialogHost& m_host;
};

} // namespace parvex
