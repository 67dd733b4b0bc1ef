#include "file_splitter/SettingsDlg.h"

#include "file_splitter/DialogResources.h"
#include "platform/base/IoError.h"
#include "platform/base/TextFile.h"
#include "platform/gui/DialogTemplate.h"

using wb::gui::MsgKind;
using wb::gui::Notify;

namespace parvex {

namespace {
const char kSelection[] = "Current Selection : Option - ";
}

CSettingsDlg::CSettingsDlg(wb::gui::DialogHost& host, Integration& integration)
    : m_host(host), m_integration(integration) {
    m_host.SetCommandHandler([this](int id, Notify code) { OnCommand(id, code); });
}

void CSettingsDlg::OnCommand(int id, Notify code) {
    if (code != Notify::Clicked) return;
    switch (id) {
        case IDC_OPTION1: OnOption1(); break;
        case IDC_OPTION2: OnOption2(); break;
        case IDC_DISABLE_CONTEXT_MENUS: OnDisableContextMenus(); break;
        case IDC_SETTINGS_CLOSE:
        case wb::gui::kIdOk: m_host.EndDialog(wb::gui::kIdOk); break;
        case wb::gui::kIdCancel: m_host.EndDialog(wb::gui::kIdCancel); break;
        default: break;
    }
}

bool CSettingsDlg::OnInitDialog() {
    auto text = wb::ReadWholeFile(m_integration.FileUnderPath(kOptionFileName));
    auto number = text ? ParseOptionNumber(*text) : std::nullopt;
    if (number) {
        m_host.SetItemText(IDC_CURRENT_SELECTION, kSelection + std::to_string(*number));
        return true;
    }
    // No readable number counts as option 3, which is then made true.
    try {
        SetContextMenuOption3();
    } catch (const wb::IoError& e) {
        m_host.MessageBox(std::string("Context Menus options could not be changed.\n") + e.what(),
                          MsgKind::Error);
    }
    m_host.SetItemText(IDC_CURRENT_SELECTION, std::string(kSelection) + "3 ");
    return true;
}

void CSettingsDlg::Choose(int option, const char* successText) {
    try {
        m_integration.SetContextMenuOption(option);
    } catch (const wb::IoError& e) {
        m_host.MessageBox(std::string("Context Menus options could not be changed.\n") + e.what(),
                          MsgKind::Error);
        return;
    }
    m_host.SetItemText(IDC_CURRENT_SELECTION, kSelection + std::to_string(option) + " ");
    m_host.MessageBox(successText, MsgKind::Warning);
}

void CSettingsDlg::OnOption1() { Choose(1, "Context Menus options Modified Succesfully"); }
void CSettingsDlg::OnOption2() { Choose(2, "Context Menus options Modified Succesfully"); }
void CSettingsDlg::OnDisableContextMenus() { Choose(3, "Context Menus options Disabled Succesfully"); }

} // namespace parvex
