#pragma once
// The file-save dialog. An existing file may be chosen without a question,
// as the programs' save dialogs allow; the default extension is added to a
// name typed without one. Empty on cancel.
#include <optional>
#include <string>

#include "platform/gui/DialogHost.h"

class QWidget;

namespace wb::gui {

std::optional<std::string> ShowSaveFileDialog(const OpenFileOptions& options, QWidget* parent = nullptr);

} // namespace wb::gui
