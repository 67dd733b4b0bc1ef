#include "platform/gui/SaveDialog.h"

#include "platform/gui/FileDialogs.h"

namespace wb::gui {

std::optional<std::string> ShowSaveFileDialog(const OpenFileOptions& options, QWidget* parent) {
    return RunFileDialog(FileDialogKind::Save, options, parent);
}

} // namespace wb::gui
