// Sonafex's start: the application titled "Sonafex", its four forms in
// order, then the main window's event loop. A file named on the command
// line is opened as "Open" would open it.
#include "effects_workbench/AboutQuellin.h"
#include "effects_workbench/HelpText.h"
#include "effects_workbench/OknoGlowne.h"
#include "effects_workbench/WarningOkno.h"
#include "platform/gui/Application.h"
#include "platform/gui/Guard.h"
#include "platform/media/AlsaWavePlayer.h"

using namespace sonafex;

int main(int argc, char** argv) {
    wb::gui::Application app(argc, argv, "Sonafex");
    // An exception that reaches the top is shown and ends the run.
    int rc = 1;
    wb::gui::RunGuarded([&] {
        wb::media::AlsaWavePlayer player;
        TMainForm mainForm(player);
        TAboutBox aboutBox;
        THelp help;
        TWarningBox warningBox;
        mainForm.HandWindows({&aboutBox, &help, &warningBox});

        const auto args = wb::gui::Application::Arguments();
        if (!args.empty()) {
            const std::string file = args.front();
            wb::gui::Form::Post([&mainForm, file] { mainForm.OpenFile(file); });
        }
        rc = mainForm.RunAsMain();
    });
    return rc;
}
