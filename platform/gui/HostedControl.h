#pragma once
// A control around a widget of a class of its own (a grid, a tree, a list
// of a program's control library): placed, shown, enabled, focused and
// freed like every other control of a form. The widget's class is only
// named here; its own header brings Qt to the unit that hosts it.
#include <string>
#include <utility>

#include "platform/gui/ScreenInfo.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

template <class W>
class HostedControl : public WidgetControl {
public:
    template <class... Args>
    HostedControl(WinControl& parent, const std::string& name, Args&&... args)
        : WidgetControl(&parent, Make(std::forward<Args>(args)...)) {
        Place(parent, name);
    }
    W* Get() const { return static_cast<W*>(Widget()); }
    W* operator->() const { return Get(); }
    W& operator*() const { return *Get(); }

private:
    template <class... Args>
    static W* Make(Args&&... args) {
        EnsureGuiApplication();
        return new W(std::forward<Args>(args)...);
    }
};

} // namespace wb::gui
