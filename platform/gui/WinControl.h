#pragma once
// Controls as the component model sees them, without Qt: a control has a
// parent; a windowed control also has a window, made when first needed, whose
// procedure starts as the control's own message handling. The Qt classes
// derive from these and show the control on screen.
#include <memory>
#include <vector>

#include "platform/base/Component.h"
#include "platform/gui/WinMsg.h"

namespace wb::gui {

class WinControl;

class Control : public Component {
public:
    explicit Control(Component* owner = nullptr) : Component(owner) {}
    ~Control() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    WinControl* Parent() const { return parent_; }
    virtual void SetParent(WinControl* parent);
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible) { visible_ = visible; }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled) { enabled_ = enabled; }
    // The control's on-screen object (a QWidget on Qt), or null.
    virtual void* NativeWidget() const { return nullptr; }

private:
    friend class WinControl;
    void SetParentCore(WinControl* parent);
    WinControl* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
};

class WinControl : public Control {
public:
    explicit WinControl(Component* owner = nullptr);
    ~WinControl() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    const std::vector<Control*>& Controls() const { return controls_; }

    bool HandleAllocated() const { return window_ != nullptr; }
    // The control's window, made on demand.
    Window& Handle();
    // Destroys the window (it receives WM_DESTROY) and makes a new one, as
    // a change of window style needs.
    void RecreateWnd();
    void DestroyHandle();
    // Sends a message to the control's window (made on demand).
    intptr_t Perform(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);

    // Whether the control can take the focus: it sits on a form, and it and
    // every parent below that form are visible and enabled.
    virtual bool CanFocus() const;
    virtual void SetFocus() {}

    // The control's own default procedure, used by those who replace its
    // window procedure when they have no predecessor to call.
    virtual intptr_t DefWndProc(Message& msg);

protected:
    // The control's own handling of a message; the default passes it to DefWndProc.
    virtual void WndProc(Message& msg) { msg.Result = DefWndProc(msg); }
    // After the window was made, and before it goes.
    virtual void CreateWnd() {}
    virtual void DestroyWnd() {}
    // Frees the child controls still inside, last first (see WidgetControl.h
    // for who frees what); done by the destructor, earlier by a class that
    // must outlive its children's going.
    void DestroyControls();

private:
    friend class Control;
    std::vector<Control*> controls_;
    std::unique_ptr<Window> window_;
    // Cleared by the destructor: a procedure kept by someone after the
    // control has gone then does nothing.
    std::shared_ptr<WinControl*> self_;
};

} // namespace wb::gui
