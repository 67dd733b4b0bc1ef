#pragma once
// A control shown by one Qt widget. What every such control does alike lives
// here: its widget follows the control's parent, visibility, enabled state,
// focus, bounds and hint. No Qt in this header, so window units stay free of it.
//
// Who frees a control: the first to go of the one who made it (a field goes
// with its object), its owner component (which frees what it owns) and the
// windowed control it sits in (which frees the controls still inside it,
// then its own widget). A control that goes leaves its owner's component list
// and its parent's control list, so no one frees it again. Qt never frees the
// widget of a control. So a control made as a field is declared after its
// parent: it has gone before the parent frees what is still inside.
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/WinControl.h"

class QWidget;

namespace wb::gui {

// The handler of a plain event; the sender is the control that fired it.
using TNotifyEvent = std::function<void(Persistent* sender)>;

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

    void SetHint(const std::string& hint);
    std::string Hint() const;
    void BringToFront();
    // Paints the control again soon.
    void Invalidate();

protected:
    // The control takes the widget and frees it with itself (see above).
    WidgetControl(Component* owner, QWidget* widget);
    // For controls made as fields of their form: named and placed at once.
    void Place(WinControl& parent, const std::string& name);

private:
    struct Holder;
    std::unique_ptr<Holder> holder_;
};

} // namespace wb::gui
