#pragma once
// The dialog layouts of Parvex: the main dialog, the About box and the
// context-menu settings, as control tables in dialog units.
#include "platform/gui/DialogTemplate.h"

namespace parvex {

// The window-menu command that opens the About box, and its text.
constexpr int IDM_ABOUTBOX = 16;
inline constexpr const char* kAboutMenuText = "&About Parvex";

// The program's web address, the caption of the link button.
inline constexpr const char* kHomePage = "https://parvex.example.org/";

// Controls of the settings dialog.
constexpr int IDC_OPTION1 = 1047;
constexpr int IDC_OPTION2 = 1048;
constexpr int IDC_DISABLE_CONTEXT_MENUS = 1049;
constexpr int IDC_SETTINGS_CLOSE = 1052;
constexpr int IDC_CURRENT_SELECTION = 1053;

const wb::gui::DialogTemplate& MainDialogTemplate();
const wb::gui::DialogTemplate& AboutDialogTemplate();
const wb::gui::DialogTemplate& SettingsDialogTemplate();

} // namespace parvex
