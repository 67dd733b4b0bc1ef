#pragma once
// One QApplication for every test of this binary, made on first use.
#include <QApplication>

#include "platform/gui/Application.h"

namespace wb::gui::painttest {

inline void EnsureApp() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "platform_gui_tests";
    static char* argv[] = {name, nullptr};
    // The program's own kind, so tests of its exception guard hold in any order.
    new Application(argc, argv, "Workbench");
}

} // namespace wb::gui::painttest
