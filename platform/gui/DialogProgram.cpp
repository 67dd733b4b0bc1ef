#include "platform/gui/DialogProgram.h"

#include <QIcon>
#include <QPixmap>

#include "platform/gui/Application.h"
#include "platform/gui/Dialog.h"

namespace wb::gui {

int RunDialogProgram(int& argc, char** argv, const DialogProgramInfo& info,
                     const DialogTemplate& mainDialog, const DialogProgramOpening& open) {
    Application app(argc, argv, info.title);
    // The program's own icon, from its icon files or built in; the XPM only
    // for a program that has neither.
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull() && info.xpmIcon) icon = QIcon(QPixmap(info.xpmIcon));
    if (!icon.isNull()) QApplication::setWindowIcon(icon);

    Dialog dialog(mainDialog);
    if (!icon.isNull()) dialog.SetDialogIcon(icon);
    QtDialogRunner runner(icon);
    DesktopShell shell;
    DialogProgramContext context{dialog, runner, shell, Application::Arguments()};
    std::shared_ptr<void> logic;
    int result = dialog.Run([&] { logic = open(context); });
    logic.reset();
    return result;
}

} // namespace wb::gui
