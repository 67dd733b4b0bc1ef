#pragma once
#include <string>

#include "platform/gui/DialogHost.h"

class QWidget;

namespace wb::gui {

// A modal message box with the program's title as caption and one OK
// button; the kind picks the icon. Without a parent it sits over the active
// modal window.
void ShowMessage(const std::string& text, MsgKind kind, QWidget* parent = nullptr);
// The same with the buttons Yes and No; true for Yes. Closing the box says No.
bool AskYesNo(const std::string& text, MsgKind kind, QWidget* parent = nullptr);

} // namespace wb::gui
