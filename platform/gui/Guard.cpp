#include "platform/gui/Guard.h"

#include "platform/gui/Application.h"

namespace wb::gui {

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        Application::ReportException(std::current_exception());
    }
}

} // namespace wb::gui
