#pragma once
// A program that is one modal dialog: the application object, the main
// dialog from its table, and the end of the program when it closes. No Qt
// here, so a program's main file stays free of it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/DialogHost.h"
#include "platform/gui/DialogRunner.h"
#include "platform/gui/DialogTemplate.h"
#include "platform/gui/Shell.h"

namespace wb::gui {

struct DialogProgramInfo {
    std::string title;                    // caption of every message box
    const char* const* xpmIcon = nullptr; // XPM lines, where no icon is built in
};

// What the opening of the main dialog is given.
struct DialogProgramContext {
    DialogHost& dialog;
    DialogRunner& runner;  // further dialogs, with the program's icon
    Shell& shell;
    std::vector<std::string> arguments;  // after the program's own name
};

// Builds the main dialog and calls open, which returns the dialog's logic;
// the logic lives for the modal loop and goes before the window does.
// Returns the code the dialog ended with.
using DialogProgramOpening = std::function<std::shared_ptr<void>(DialogProgramContext& context)>;
int RunDialogProgram(int& argc, char** argv, const DialogProgramInfo& info,
                     const DialogTemplate& mainDialog, const DialogProgramOpening& open);

} // namespace wb::gui
