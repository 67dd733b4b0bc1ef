#pragma once
#include <optional>
#include <string>

#include "platform/gui/DialogHost.h"

class QWidget;

namespace wb::gui {

// The file-open dialog for one existing file. An initial name with wildcards
// ("*.brk") filters the list when no filter is given. Empty on cancel.
enum class FileDialogKind { Open, Save };

// The open and save dialogs alike: Qt's own dialog over the active modal
// window, titled, in the initial folder, with the filter and the default
// extension ("*.wav" or "wav"). Empty on cancel.
std::optional<std::string> RunFileDialog(FileDialogKind kind, const OpenFileOptions& options, QWidget* parent);

std::optional<std::string> ShowOpenFileDialog(const OpenFileOptions& options, QWidget* parent = nullptr);

// "Name|pat;pat|Name|pat" as Qt's "Name (pat pat);;Name (pat)".
std::string QtNameFilters(const std::string& filter);

} // namespace wb::gui
