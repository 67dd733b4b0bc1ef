#include "platform/gui/EventLoop.h"

#include <QCoreApplication>

namespace wb::gui {

void ServeWindows() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace wb::gui
