// The main dialog's opening, its command line, the buttons below the panels
// and the file-manager integration.
#include <filesystem>
#include <memory>

#include "file_splitter/DialogResources.h"
#include "file_splitter/MainDlg.h"
#include "file_splitter/Resource.h"
#include "file_splitter/SettingsDlg.h"
#include "platform/base/File.h"
#include "platform/base/TextFile.h"

using wb::gui::MsgKind;

namespace parvex {

namespace {

bool EndsInBrk(const std::string& s) {
    if (s.size() < 3) return false;
    auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); };
    return lower(s[s.size() - 3]) == 'b' && lower(s[s.size() - 2]) == 'r' &&
           lower(s[s.size() - 1]) == 'k';
}

std::string CurrentFolderFile(const std::string& name) {
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    return ec ? name : (cwd / name).string();
}

} // namespace

bool CMainDlg::OnInitDialog() {
    UpdateData(false);
    m_host.AppendSystemMenuItem(IDM_ABOUTBOX, kAboutMenuText);
    m_host.SetSysCommandHandler([this](int id) { OnSysCommand(id); });

    ApplyContextMenuOption(m_integration.FileUnderPath(kOptionFileName));

    m_bSpecify = false;
    for (int id : {IDC_RECHECK, IDC_SPLIT_OUTPUT, IDC_JOIN_OUTPUT, IDC_BREAK_IT, IDC_ASSEMBLE,
                   IDC_KILOBYTES, IDC_PRESET_100K, IDC_PRESET_125M, IDC_PRESET_1M, IDC_PRESET_500K,
                   IDC_SPECIFY})
        m_host.EnableItem(id, false);

    // The first start, or a folder without the marker: register, and mark
    // only what succeeded, so a failed start tries again next time.
    if (!m_integration.MarkerPresent()) {
        try {
            RegisterPieceFileType();
            m_integration.WriteMarker();
        } catch (const wb::IoError&) {
        }
    }

    if (m_arguments.size() == 1) {
        m_bCommandLine = true;
        m_strCommandLinePath = m_arguments[0];
        if (EndsInBrk(m_arguments[0])) OnBrowseJoin();
        else OnBrowseSplit();
    } else if (m_arguments.size() == 2) {
        m_bCommandLine = true;
        m_strCommandLinePath = m_arguments[1];
        OnBrowseSplit();
    }
    return true;
}

void CMainDlg::OnSysCommand(int commandId) {
    if ((commandId & ~0xF) == IDM_ABOUTBOX) OnAbout();
}

void CMainDlg::OnAbout() {
    if (m_pRunner) m_pRunner->RunModal(AboutDialogTemplate(), {});
}

void CMainDlg::OnExit() { m_host.EndDialog(kExitResult); }

void CMainDlg::OnHelpButton() {
    std::string beside = m_integration.HelpFile();
    std::string here = CurrentFolderFile(kHelpFileName);
    // Both places open with the desktop's default application; there is no
    // one word processor to start by name here.
    std::string found;
    if (wb::ReadWholeFile(beside)) found = beside;
    else if (wb::ReadWholeFile(here)) found = here;
    if (found.empty()) {
        m_host.MessageBox("QZ15HELP.DOC not found !!", MsgKind::Warning);
    } else if (!m_pShell || !m_pShell->OpenDocument(found)) {
        // Found but not shown: without this the button would seem dead.
        m_host.MessageBox("No program could open the help file " + found, MsgKind::Warning);
    }
}

void CMainDlg::OnLink() {
    std::string url = m_host.GetItemText(IDC_LINK);
    if (url.empty()) {
        m_host.MessageBox("No URL defined on button!", MsgKind::Warning);
        return;
    }
    if (!m_pShell || !m_pShell->OpenDocument(url))
        m_host.MessageBox("::ShellExecute failed to open this link!", MsgKind::Warning);
}

void CMainDlg::OnContextMenuSettings() {
    if (!m_pRunner) return;
    std::unique_ptr<CSettingsDlg> settings;
    m_pRunner->RunModal(SettingsDialogTemplate(), [&](wb::gui::DialogHost& host) {
        settings = std::make_unique<CSettingsDlg>(host, m_integration);
        settings->OnInitDialog();
    });
}

void CMainDlg::OnOK() {
    if (!UpdateData(true)) return;
    m_host.EndDialog(wb::gui::kIdOk);
}

void CMainDlg::OnCancel() { m_host.EndDialog(wb::gui::kIdCancel); }

void CMainDlg::RegisterPieceFileType() { m_integration.RegisterPieceFileType(); }

void CMainDlg::SetContextMenuOption1() {
    m_integration.SetContextMenuOption(1);
    UpdateData(false);
}

void CMainDlg::SetContextMenuOption2() {
    m_integration.SetContextMenuOption(2);
    UpdateData(false);
}

void CMainDlg::SetContextMenuOption3() {
    m_integration.SetContextMenuOption(3);
    UpdateData(false);
}

void CMainDlg::ApplyContextMenuOption(const std::string& optionFile) {
    m_integration.ApplyContextMenuOption(optionFile);
    UpdateData(false);
}

} // namespace parvex
