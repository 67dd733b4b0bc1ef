// Velmora's start: the application titled "Velmora", its five windows in
// order, then the main window's event loop. There is no command line.
#include "platform/gui/Application.h"
#include "platform/gui/Guard.h"
#include "tag_editor/windows/Choose.h"
#include "tag_editor/windows/DirChoos.h"
#include "tag_editor/windows/EditTag.h"
#include "tag_editor/windows/Lupdate.h"
#include "tag_editor/windows/Main.h"

int main(int argc, char** argv) {
    wb::gui::Application app(argc, argv, "Velmora");
    // An exception that reaches the top is shown and ends the run.
    int rc = 1;
    wb::gui::RunGuarded([&] {
        velmora::TID3Frm id3Frm;
        velmora::TEditTagListFrm editTagListFrm;
        velmora::TChooseFrm chooseFrm;
        velmora::TDirFrm dirFrm;
        velmora::TLUpdateFrm lUpdateFrm(&dirFrm);
        id3Frm.HandWindows({&editTagListFrm, &chooseFrm, &lUpdateFrm});
        rc = id3Frm.RunAsMain();
    });
    return rc;
}
