#include "tag_editor/controls/filesystem/VlShell.h"

#include "platform/gui/MessageBox.h"
#include "platform/gui/Shell.h"

namespace velmora {

std::function<void(const std::string&)> TVlShell::ShowInfo = [](const std::string& text) {
    wb::gui::ShowMessage(text, wb::gui::MsgKind::Information);
};
std::function<void(const std::string&)> TVlShell::ShowError = [](const std::string& text) {
    wb::gui::ShowMessage(text, wb::gui::MsgKind::Error);
};
std::function<bool(const std::string&)> TVlShell::Open = [](const std::string& path) {
    return wb::gui::OpenWithDefaultApplication(path);
};

} // namespace velmora
