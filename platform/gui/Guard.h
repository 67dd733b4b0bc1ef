#pragma once
// The one boundary for exceptions of event handlers. Qt does not carry an
// exception through a signal, so every handler a control, menu, timer,
// socket, posted job or window message calls runs inside this guard: an
// escaping exception is shown in an error box titled with the program's
// name, and the window goes on. Nothing else shows an exception's box.
#include <exception>
#include <functional>
#include <utility>

namespace wb::gui {

// Ends the current operation silently: the guard shows no box for it.
struct EAbort : std::exception {
    const char* what() const noexcept override { return "Operation aborted"; }
};

// Guards may nest: the innermost one shows the box, the outer ones then see
// a handler that returned.
void RunGuarded(const std::function<void()>& handler);

// Calls an event handler, if one is set, inside the guard.
template <class Handler, class... Args>
void Fire(const Handler& handler, Args&&... args) {
    if (handler) RunGuarded([&] { handler(std::forward<Args>(args)...); });
}

} // namespace wb::gui
