#include "platform/gui/WinMsg.h"

#include <deque>
#include <unordered_map>

#include "platform/gui/Guard.h"

namespace wb::gui {

namespace {

struct Registry {
    std::unordered_map<WindowHandle, Window*> windows;
    WindowHandle next = 1;
};
Registry& Windows() {
    static Registry r;
    return r;
}

struct Posted {
    WindowHandle window;
    Message msg;
};
std::deque<Posted>& Queue() {
    static std::deque<Posted> q;
    return q;
}
std::function<void()>& Wakeup() {
    static std::function<void()> w;
    return w;
}

} // namespace

Window::Window(WindowProc proc) : handle_(Windows().next++), proc_(std::move(proc)) {
    Windows().windows[handle_] = this;
}

Window::~Window() { Windows().windows.erase(handle_); }

WindowProc Window::SetWindowProc(WindowProc proc) {
    WindowProc old = std::move(proc_);
    proc_ = std::move(proc);
    return old;
}

intptr_t Window::Send(Message& msg) {
    // Held for the call: the procedure may replace itself meanwhile.
    WindowProc proc = proc_;
    RunGuarded([&] { msg.Result = CallWindowProc(proc, *this, msg); });
    return msg.Result;
}

intptr_t Window::Send(uint32_t msg, intptr_t wParam, intptr_t lParam) {
    Message m{msg, wParam, lParam, 0};
    return Send(m);
}

Window* FindWindow(WindowHandle handle) {
    auto it = Windows().windows.find(handle);
    return it == Windows().windows.end() ? nullptr : it->second;
}

intptr_t CallWindowProc(const WindowProc& proc, Window& window, Message& msg) {
    if (!proc || !*proc) return DefWindowProc(window, msg);
    return (*proc)(window, msg);
}

intptr_t DefWindowProc(Window&, Message&) { return 0; }

bool PostMessage(WindowHandle window, uint32_t msg, intptr_t wParam, intptr_t lParam) {
    if (!FindWindow(window)) return false;
    bool wasEmpty = Queue().empty();
    Queue().push_back({window, Message{msg, wParam, lParam, 0}});
    if (wasEmpty && Wakeup()) Wakeup()();
    return true;
}

int ProcessPostedMessages() {
    size_t n = Queue().size();
    int sent = 0;
    for (size_t i = 0; i < n && !Queue().empty(); ++i) {
        Posted p = Queue().front();
        Queue().pop_front();
        if (Window* w = FindWindow(p.window)) {
            w->Send(p.msg);
            ++sent;
        }
    }
    if (!Queue().empty() && Wakeup()) Wakeup()();
    return sent;
}

void SetPostedMessageWakeup(std::function<void()> wakeup) { Wakeup() = std::move(wakeup); }

} // namespace wb::gui
