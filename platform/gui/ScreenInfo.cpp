#include "platform/gui/ScreenInfo.h"

#include <QApplication>

#include "platform/base/ProgramPaths.h"
#include "platform/gui/Application.h"
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace wb::gui {

ScreenMetrics Screen() {
    ScreenMetrics m;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return m;
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return m;
    m.width = s->geometry().width();
    m.height = s->geometry().height();
    m.pixelsPerInch = static_cast<int>(std::lround(s->logicalDotsPerInch()));
    QRect a = s->availableGeometry();
    m.workArea = {a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
    return m;
}

int WheelScrollLines() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::wheelScrollLines() : 3;
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static std::string program = ProgramName();
    static char* argv[] = {program.data(), nullptr};
    new Application(argc, argv, program);
    // Posted window messages are sent on the next turn of the Qt loop.
    SetPostedMessageWakeup([] {
        QTimer::singleShot(0, QCoreApplication::instance(), [] { ProcessPostedMessages(); });
    });
}

} // namespace wb::gui
