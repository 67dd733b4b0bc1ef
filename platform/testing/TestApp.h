#pragma once
// The one application object of a test binary, made by whichever test asks
// first. It is the programs' own kind, so the exception guard and the title of
// its error boxes hold in every test, whatever ran before.
#include <QApplication>
#include <string>

#include "platform/gui/Application.h"

namespace wb::gui::test {

// The first call makes the application object; later ones only retitle it.
inline QApplication& App(const std::string& title = "Workbench") {
    static int argc = 1;
    static char name[] = "wb_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new Application(argc, argv, title);
    Application::SetTitle(title);
    return *qApp;
}

} // namespace wb::gui::test
