#pragma once
// "Context menus Settings": chooses where the file manager offers
// "Cut Using Parvex" (option 1: every file, 2: files of no known type,
// 3: nowhere).
#include <string>

#include "file_splitter/ContextMenus.h"
#include "platform/gui/DialogHost.h"

namespace parvex {

class CSettingsDlg {
public:
    CSettingsDlg(wb::gui::DialogHost& host, Integration& integration);
    CSettingsDlg(const CSettingsDlg&) = delete;
    CSettingsDlg& operator=(const CSettingsDlg&) = delete;

    void OnCommand(int id, wb::gui::Notify code);
    bool OnInitDialog();
    void OnOption1();
    void OnOption2();
    void OnDisableContextMenus();

    void SetContextMenuOption1() { m_integration.SetContextMenuOption(1); }
    void SetContextMenuOption2() { m_integration.SetContextMenuOption(2); }
    void SetContextMenuOption3() { m_integration.SetContextMenuOption(3); }

private:
    // Runs an option; on success shows it and the message, else the error.
    void Choose(int option, const char* successText);

    wb::gui::DialogHost& m_host;
    Integration& m_integration;
};

} // namespace parvex
