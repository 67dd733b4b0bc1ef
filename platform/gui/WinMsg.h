#pragma once
// Window messages and window procedures, without Qt. A window is a target
// of messages with a replaceable procedure; a procedure that replaces
// another keeps the one it replaced and calls it. Procedures are held by
// reference count, so one that is still someone's predecessor stays valid
// after the component that made it has gone.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gui/Geometry.h"

namespace wb::gui {

struct Message {
    uint32_t Msg = 0;
    intptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};

// Message numbers (their customary values).
constexpr uint32_t WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003,
                   WM_SIZE = 0x0005, WM_SETFOCUS = 0x0007, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
                   WM_QUIT = 0x0012, WM_SHOWWINDOW = 0x0018, WM_GETMINMAXINFO = 0x0024,
                   WM_SETTEXT = 0x000C, WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086,
                   WM_NCLBUTTONDOWN = 0x00A1, WM_NCRBUTTONDOWN = 0x00A4, WM_NCRBUTTONUP = 0x00A5,
                   WM_SYSCOMMAND = 0x0112, WM_INITMENUPOPUP = 0x0117, WM_USER = 0x0400;
// System commands (WM_SYSCOMMAND's first parameter, menu command ids).
constexpr intptr_t SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
                   SC_CLOSE = 0xF060, SC_RESTORE = 0xF120;
// Hit-test results of WM_NCHITTEST: 10 to 17 are the sizing borders and corners.
constexpr intptr_t HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTSYSMENU = 3, HTMINBUTTON = 8,
                   HTMAXBUTTON = 9, HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14,
                   HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17, HTCLOSE = 20, HTHELP = 21;

// Screen points travel in a message's LParam as two 16-bit halves, x low.
constexpr intptr_t PackPoint(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                                 static_cast<uint16_t>(x));
}
constexpr Point UnpackPoint(intptr_t l) {
    return {static_cast<int16_t>(l & 0xFFFF), static_cast<int16_t>((l >> 16) & 0xFFFF)};
}

// The size limits a window asks for with WM_GETMINMAXINFO; LParam points at one.
struct MinMaxInfo {
    Point reserved, maxSize, maxPosition, minTrackSize, maxTrackSize;
};

class Window;
using WindowProcFn = std::function<intptr_t(Window&, Message&)>;
using WindowProc = std::shared_ptr<const WindowProcFn>;
inline WindowProc MakeWindowProc(WindowProcFn fn) {
    return std::make_shared<const WindowProcFn>(std::move(fn));
}

using WindowHandle = uint32_t;  // 0 is no window

class Window {
public:
    explicit Window(WindowProc proc);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    WindowHandle Handle() const { return handle_; }
    const WindowProc& GetWindowProc() const { return proc_; }
    // Puts a new procedure in place and returns the one it replaces.
    WindowProc SetWindowProc(WindowProc proc);
    // Runs the message through the current procedure; the result is also
    // left in the record. A message is an event of its own: an exception
    // its procedure lets escape is shown by the guard, and the sender gets
    // the result as far as it was set.
    intptr_t Send(Message& msg);
    intptr_t Send(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);

    // What the window belongs to (a control), for whoever needs to find it.
    void* Owner() const { return owner_; }
    void SetOwner(void* owner) { owner_ = owner; }

private:
    WindowHandle handle_;
    WindowProc proc_;
    void* owner_ = nullptr;
};

// The live window of that handle, or null (a handle is never reused).
Window* FindWindow(WindowHandle handle);
// Calls a procedure; an empty one goes to DefWindowProc.
intptr_t CallWindowProc(const WindowProc& proc, Window& window, Message& msg);
// The default procedure: does nothing and answers 0.
intptr_t DefWindowProc(Window& window, Message& msg);

// Queues a message for the window; it is sent when the queue is next
// processed, outside the message being handled now. False for no window.
bool PostMessage(WindowHandle window, uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
// Sends every message posted before the call (a message posted meanwhile
// waits for the next turn); messages for windows gone since are dropped.
// Returns how many were sent.
int ProcessPostedMessages();
// The GUI loop's hook: called once whenever the queue turns non-empty, so
// the loop can schedule ProcessPostedMessages.
void SetPostedMessageWakeup(std::function<void()> wakeup);

} // namespace wb::gui
