#pragma once
// One QApplication for every test of this binary, made on first use.
#include <QApplication>

namespace wb::gui::painttest {

inline void EnsureApp() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "platform_gui_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

} // namespace wb::gui::painttest
