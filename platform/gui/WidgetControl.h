#pragma once
// A control shown by one Qt widget. What every such control does alike lives
// here: its widget follows the control's parent, visibility, enabled state,
// focus, bounds and hint, and its input reaches the control as the events
// below, each run through the guard. No Qt in this header, so window units
// stay free of it.
//
// One way to make a control: `Child<T>` (at the end of this file), as a
// window's field or at run time, the same for both. It makes the control on
// the heap under its parent, and the window at the top of the parent chain
// owns it: the window finds it by name and frees it with itself; the control
// it sits in frees it earlier if that one goes first. Nothing else frees a
// control: the handle frees nothing, and a window holds no control by value.
// So any field order is safe; fields are declared in the order the controls
// are made only because that order is the tab and z-order.
// A control that goes leaves its owner's component list and its parent's
// control list, so no one frees it again. Qt never frees the widget of a
// control.
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/gui/Geometry.h"
#include "platform/gui/Keys.h"
#include "platform/gui/WinControl.h"

class QWidget;

namespace wb::gui {

class Canvas;

// The handler of a plain event; the sender is the control that fired it.
using TNotifyEvent = std::function<void(Persistent* sender)>;
// A key as a virtual-key code; a handler that sets it to 0 keeps it from the control.
using TKeyEvent = std::function<void(Persistent* sender, int& key, TShiftState shift)>;
// Mouse positions are in the control's coordinates.
using TMouseEvent = std::function<void(Persistent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(Persistent* sender, TShiftState shift, int x, int y)>;

class WidgetControl : public WinControl {
public:
    ~WidgetControl() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    void* NativeWidget() const override;
    QWidget* Widget() const;
    // Where the widgets of child controls go: the control's own widget,
    // unless it has a client area of its own (a form below its menu bar).
    virtual QWidget* ClientWidget() const;

    void SetName(const std::string& name) override;
    void SetParent(WinControl* parent) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void SetFocus() override;

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    virtual void SetBounds(int left, int top, int width, int height);

    // A point of the control on the screen.
    Point ClientToScreen(const Point& p) const;

    // Whether the keyboard focus is on the control's widget.
    bool Focused() const;
    // False: neither Tab nor a click gives the control the focus, so the
    // control a speed button acts on keeps it.
    void SetAcceptsFocus(bool accepts);
    // The control a widget shows, or the nearest control around it; null
    // for a widget of no control.
    static WidgetControl* ControlOf(const QWidget* widget);

    void SetHint(const std::string& hint);
    std::string Hint() const;
    void BringToFront();
    void SendToBack();
    // Lets clicks through to what lies under the control, as a picture
    // without events or a group's frame does.
    void SetTransparentForMouse(bool transparent);
    // Whether the window that holds the control is the application's active one.
    bool InActiveWindow() const;
    // The width of a text in the control's font.
    int TextWidth(const std::string& text) const;

    // The text a control shows as its own: a caption, an edit's text. Empty,
    // and not kept, for a control without one.
    virtual std::string ControlText() const { return {}; }
    virtual void SetControlText(const std::string&) {}
    // Paints the control again soon.
    void Invalidate();
    // Paints the control now when it is on screen, else soon.
    void Repaint();

    TKeyEvent OnKeyDown, OnKeyUp;
    // The focus came into the control or a control inside it, or left them all.
    TNotifyEvent OnEnter, OnExit;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    // The steps behind the events. Each base step fires its event; a control
    // that overrides one adds its own handling and calls the base to keep the
    // event. A key left non-zero by KeyDown goes on to the widget.
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void DblClick();
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // One notch of the wheel is 120; true when the control scrolled itself,
    // so the widget does not scroll too.
    virtual bool MouseWheel(int delta, TShiftState shift);
    // After the control's size changed.
    virtual void Resize() {}
    // The one paint entry of a control that draws itself (or draws over what
    // its widget drew), in the control's coordinates. Only controls whose
    // widget the layer made for drawing call it.
    virtual void Paint(Canvas& canvas);

    // The control takes the widget and frees it with itself (see above).
    WidgetControl(Component* owner, QWidget* widget);
    // For a control's constructor under a parent (see Child): named and placed at once.
    void Place(WinControl& parent, const std::string& name);

private:
    friend class ControlEvents;
    friend class ControlPainter;
    struct Holder;
    std::unique_ptr<Holder> holder_;
};

// Gives a control made under its parent to the window at the top of the
// parent's chain; a name that window holds already is refused.
void GiveToWindow(Control& control, WinControl& parent);
void CheckNameFree(const WinControl& parent, const std::string& name);

// A handle to a control made under its parent (see the top of this file).
// It frees nothing, so it may go before or after the control; it is not
// copied, as one control has one handle in its window.
template <class T>
class Child {
public:
    // Empty, for a window that makes the control later in its constructor.
    Child() = default;
    // T's own constructor for a placed control (parent, name, its own
    // arguments) when it has one; else the owner's one, then named and placed.
    template <class... A>
    Child(WinControl& parent, const std::string& name, A&&... args) {
        static_assert(std::is_base_of_v<Control, T>, "a Child is a control");
        CheckNameFree(parent, name);
        if constexpr (std::is_constructible_v<T, WinControl&, const std::string&, A&&...>) {
            control_ = new T(parent, name, std::forward<A>(args)...);
        } else {
            static_assert(sizeof...(A) == 0, "T has no constructor for a placed control with these arguments");
            control_ = new T(&parent);
            control_->SetName(name);
            control_->SetParent(&parent);
        }
        GiveToWindow(*control_, parent);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    Child(Child&& other) noexcept : control_(std::exchange(other.control_, nullptr)) {}
    Child& operator=(Child&& other) noexcept {
        control_ = std::exchange(other.control_, nullptr);
        return *this;
    }
    ~Child() = default;

    T* get() const { return control_; }
    T* operator->() const { return control_; }
    T& operator*() const { return *control_; }
    operator T*() const { return control_; }

private:
    T* control_ = nullptr;
};

} // namespace wb::gui
