// Parvex: a dialog program. The main dialog's logic is parvex::CMainDlg; the window
// layer builds the dialog and runs it until it closes.
#include <memory>

#include "file_splitter/DialogResources.h"
#include "file_splitter/MainDlg.h"
#include "file_splitter/ParvexIcon.h"
#include "platform/gui/DialogProgram.h"

int main(int argc, char** argv) {
    wb::gui::DialogProgramInfo info{"Parvex", kParvexIcon};
    int result = wb::gui::RunDialogProgram(
        argc, argv, info, parvex::MainDialogTemplate(), [](wb::gui::DialogProgramContext& context) {
            auto dlg = std::make_shared<parvex::CMainDlg>(context.dialog);
            dlg->SetArguments(context.arguments);
            dlg->SetRunner(context.runner);
            dlg->SetShell(context.shell);
            dlg->OnInitDialog();
            return std::shared_ptr<void>(dlg);
        });
    return result == parvex::CMainDlg::kExitResult ? 1 : 0;
}
