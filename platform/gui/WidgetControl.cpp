#include "platform/gui/WidgetControl.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "platform/gui/Canvas.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/Guard.h"
#include "platform/gui/WidgetSupport.h"

namespace wb::gui {

// Qt never frees a control's widget (WidgetControl.h); should a window that
// someone gave a Qt parent go with it all the same, this reads null.
struct WidgetControl::Holder {
    QPointer<QWidget> widget;
};

namespace {

QWidget* ClientOf(WinControl* parent) {
    if (!parent) return nullptr;
    if (auto* w = dynamic_cast<WidgetControl*>(parent)) return w->ClientWidget();
    return static_cast<QWidget*>(parent->NativeWidget());
}

// Which control each widget shows: the way back from a Qt event to its control.
std::unordered_map<const QWidget*, WidgetControl*>& WidgetMap() {
    static std::unordered_map<const QWidget*, WidgetControl*> map;
    return map;
}

// The controls not yet destroyed: a handler run for one event may free
// another control that a later step of the same event would reach.
std::unordered_set<const WidgetControl*>& LiveControls() {
    static std::unordered_set<const WidgetControl*> live;
    return live;
}

bool Alive(const WidgetControl* c) { return LiveControls().count(c) != 0; }

} // namespace

int VirtualKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return VK_F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace: return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter: return VK_RETURN;
        case Qt::Key_Shift: return VK_SHIFT;
        case Qt::Key_Control: return VK_CONTROL;
        case Qt::Key_Alt: return VK_MENU;
        case Qt::Key_Escape: return VK_ESCAPE;
        case Qt::Key_Space: return VK_SPACE;
        case Qt::Key_PageUp: return VK_PRIOR;
        case Qt::Key_PageDown: return VK_NEXT;
        case Qt::Key_End: return VK_END;
        case Qt::Key_Home: return VK_HOME;
        case Qt::Key_Left: return VK_LEFT;
        case Qt::Key_Up: return VK_UP;
        case Qt::Key_Right: return VK_RIGHT;
        case Qt::Key_Down: return VK_DOWN;
        case Qt::Key_Insert: return VK_INSERT;
        case Qt::Key_Delete: return VK_DELETE;
        default: return 0;
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TMouseButton ButtonOf(Qt::MouseButton b) {
    return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

// Turns the Qt input of every control's widget into the control's steps.
// One object watches all widgets; the focus is followed application-wide,
// so a container hears when the focus leaves all of its children.
class ControlEvents : public QObject {
public:
    static ControlEvents& Get() {
        static ControlEvents* events = [] {
            auto* e = new ControlEvents;
            QObject::connect(qApp, &QApplication::focusChanged, e,
                             [e](QWidget* old, QWidget* now) { e->FocusMoved(old, now); });
            return e;
        }();
        return *events;
    }

    void Watch(QWidget* widget) {
        widget->installEventFilter(this);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) area->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject* obj, QEvent* e) override {
        auto* widget = qobject_cast<QWidget*>(obj);
        if (!widget) return false;
        WidgetControl* c = Find(widget);
        if (!c || c->Destroying()) return false;
        QWidget* own = c->Widget();
        switch (e->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease: {
                // Once, for the control that has the focus, not again as Qt
                // passes an unused key on to the parents.
                if (widget != own || WidgetControl::ControlOf(QApplication::focusWidget()) != c) return false;
                auto* k = static_cast<QKeyEvent*>(e);
                if (e->type() == QEvent::KeyRelease && k->isAutoRepeat()) return false;
                int key = VirtualKey(k->key());
                if (!key) return false;
                const TShiftState shift = ShiftOf(k->modifiers());
                RunGuarded([&] {
                    if (e->type() == QEvent::KeyPress) c->KeyDown(key, shift);
                    else c->KeyUp(key, shift);
                });
                return key == 0;
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick: {
                auto* m = static_cast<QMouseEvent*>(e);
                const QPoint p = widget->mapTo(own, m->position().toPoint());
                TShiftState shift = ShiftOf(m->modifiers(), m->buttons() | m->button());
                const TMouseButton button = ButtonOf(m->button());
                RunGuarded([&] {
                    if (e->type() == QEvent::MouseButtonRelease) {
                        c->MouseUp(button, ShiftOf(m->modifiers(), m->buttons()), p.x(), p.y());
                    } else if (e->type() == QEvent::MouseButtonDblClick) {
                        c->MouseDown(button, shift | ssDouble, p.x(), p.y());
                        if (Alive(c) && button == mbLeft) c->DblClick();
                    } else {
                        c->MouseDown(button, shift, p.x(), p.y());
                    }
                });
                return false;
            }
            case QEvent::MouseMove: {
                auto* m = static_cast<QMouseEvent*>(e);
                const QPoint p = widget->mapTo(own, m->position().toPoint());
                RunGuarded([&] { c->MouseMove(ShiftOf(m->modifiers(), m->buttons()), p.x(), p.y()); });
                return false;
            }
            case QEvent::Wheel: {
                auto* w = static_cast<QWheelEvent*>(e);
                int delta = w->angleDelta().y();
                if (delta == 0) delta = w->angleDelta().x();
                bool handled = false;
                RunGuarded([&] { handled = c->MouseWheel(delta, ShiftOf(w->modifiers(), w->buttons())); });
                if (handled) e->accept();
                return handled;
            }
            case QEvent::Enter:
                if (widget == own) RunGuarded([&] { c->MouseEnter(); });
                return false;
            case QEvent::Leave:
                if (widget == own) RunGuarded([&] { c->MouseLeave(); });
                return false;
            case QEvent::Resize:
                if (widget == own) RunGuarded([&] { c->Resize(); });
                return false;
            default: return false;
        }
    }

    // The controls around a widget, innermost first; forms are not in it.
    static std::vector<WidgetControl*> Chain(QWidget* w) {
        std::vector<WidgetControl*> chain;
        for (WidgetControl* c = WidgetControl::ControlOf(w); c && c->Parent();) {
            chain.push_back(c);
            c = dynamic_cast<WidgetControl*>(c->Parent());
        }
        return chain;
    }

    void FocusMoved(QWidget* old, QWidget* now) {
        auto left = Chain(old);
        // A focused control that is being freed says nothing, nor do the ones around it.
        if (std::any_of(left.begin(), left.end(), [](WidgetControl* c) { return c->Destroying(); })) left.clear();
        const auto came = Chain(now);
        auto in = [](const std::vector<WidgetControl*>& v, WidgetControl* c) {
            return std::find(v.begin(), v.end(), c) != v.end();
        };
        for (WidgetControl* c : left)
            if (!in(came, c) && Alive(c) && !c->Destroying()) RunGuarded([c] { c->DoExit(); });
        for (auto it = came.rbegin(); it != came.rend(); ++it)
            if (!in(left, *it) && Alive(*it) && !(*it)->Destroying()) RunGuarded([c = *it] { c->DoEnter(); });
    }

private:
    static WidgetControl* Find(QWidget* w) {
        auto& map = WidgetMap();
        if (auto it = map.find(w); it != map.end()) return it->second;
        // A scroll area's viewport belongs to the area's control.
        if (QWidget* p = w->parentWidget(); p && qobject_cast<QAbstractScrollArea*>(p)) {
            if (auto it = map.find(p); it != map.end()) return it->second;
        }
        return nullptr;
    }
};

void ControlPainter::PaintOver(WidgetControl* control, QWidget* surface) {
    if (!control || control->Destroying() || !control->Widget()) return;
    QPainter painter(surface);
    if (surface != control->Widget()) {
        const QPoint offset = surface->mapTo(control->Widget(), QPoint(0, 0));
        painter.translate(-offset.x(), -offset.y());
    }
    Canvas canvas(painter);
    RunGuarded([&] { control->Paint(canvas); });
}

const ClassInfo& WidgetControl::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("WidgetControl", &WinControl::StaticClass());
        return i;
    }();
    return info;
}

WidgetControl::WidgetControl(Component* owner, QWidget* widget)
    : WinControl(owner), holder_(std::make_unique<Holder>()) {
    holder_->widget = widget;
    WidgetMap()[widget] = this;
    // A widget Qt frees with its parent leaves the map before its address is reused.
    QObject::connect(widget, &QObject::destroyed, [widget] { WidgetMap().erase(widget); });
    LiveControls().insert(this);
    ControlEvents::Get().Watch(widget);
}

WidgetControl::~WidgetControl() {
    LiveControls().erase(this);
    Destroying_();
    NotifyFreeing();
    DestroyComponents();
    DestroyControls();
    DestroyHandle();
    QWidget* own = holder_->widget;
    if (!own) return;
    WidgetMap().erase(own);
    // Every control inside has gone with its own widget, so Qt frees only
    // the parts this widget made itself.
    delete own;
}

void* WidgetControl::NativeWidget() const { return holder_ ? holder_->widget.data() : nullptr; }
QWidget* WidgetControl::Widget() const { return holder_->widget; }
QWidget* WidgetControl::ClientWidget() const { return Widget(); }

void WidgetControl::SetName(const std::string& name) {
    WinControl::SetName(name);
    if (Widget()) Widget()->setObjectName(Q(name));
}

void WidgetControl::SetParent(WinControl* parent) {
    WinControl::SetParent(parent);
    QWidget* w = Widget();
    if (!w) return;
    w->setParent(ClientOf(parent));
    if (parent && Visible()) w->show();
}

void WidgetControl::SetVisible(bool visible) {
    WinControl::SetVisible(visible);
    // Without a parent the widget would become a window of its own.
    if (Widget()) Widget()->setVisible(visible && Parent());
}

void WidgetControl::SetEnabled(bool enabled) {
    WinControl::SetEnabled(enabled);
    if (Widget()) Widget()->setEnabled(enabled);
}

void WidgetControl::SetFocus() {
    if (Widget()) Widget()->setFocus();
}

// Without the window frame, as the bounds were set.
int WidgetControl::Left() const { return Widget()->geometry().x(); }
int WidgetControl::Top() const { return Widget()->geometry().y(); }
int WidgetControl::Width() const { return Widget()->width(); }
int WidgetControl::Height() const { return Widget()->height(); }

void WidgetControl::SetBounds(int left, int top, int width, int height) {
    Widget()->setGeometry(left, top, std::max(0, width), std::max(0, height));
}

Point WidgetControl::ClientToScreen(const Point& p) const {
    if (!Widget()) return p;
    const QPoint q = Widget()->mapToGlobal(QPoint(p.x, p.y));
    return {q.x(), q.y()};
}

bool WidgetControl::Focused() const { return Widget() && Widget()->hasFocus(); }

void WidgetControl::SetAcceptsFocus(bool accepts) {
    Widget()->setFocusPolicy(accepts ? Qt::StrongFocus : Qt::NoFocus);
}

WidgetControl* WidgetControl::ControlOf(const QWidget* widget) {
    const auto& map = WidgetMap();
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (auto it = map.find(w); it != map.end()) return it->second;
    return nullptr;
}

void WidgetControl::KeyDown(int& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}
void WidgetControl::KeyUp(int& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}
void WidgetControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}
void WidgetControl::DoExit() {
    if (OnExit) OnExit(this);
}
void WidgetControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void WidgetControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void WidgetControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void WidgetControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}
bool WidgetControl::MouseWheel(int, TShiftState) { return false; }
void WidgetControl::Paint(Canvas&) {}

void WidgetControl::SetHint(const std::string& hint) { Widget()->setToolTip(Q(hint)); }
std::string WidgetControl::Hint() const { return Widget()->toolTip().toStdString(); }
void WidgetControl::BringToFront() { Widget()->raise(); }
void WidgetControl::SendToBack() { Widget()->lower(); }
void WidgetControl::SetTransparentForMouse(bool transparent) {
    Widget()->setAttribute(Qt::WA_TransparentForMouseEvents, transparent);
}
bool WidgetControl::InActiveWindow() const {
    return Widget() && QApplication::activeWindow() == Widget()->window();
}
int WidgetControl::TextWidth(const std::string& text) const {
    return Widget()->fontMetrics().horizontalAdvance(Q(text));
}
void WidgetControl::Invalidate() { Widget()->update(); }
void WidgetControl::Repaint() {
    Widget()->update();
    if (Widget()->isVisible()) Widget()->repaint();
}

void WidgetControl::Place(WinControl& parent, const std::string& name) {
    SetName(name);
    SetParent(&parent);
}

namespace {
const WinControl& WindowOf(const WinControl& parent) {
    const WinControl* w = &parent;
    while (w->Parent()) w = w->Parent();
    return *w;
}
} // namespace

void CheckNameFree(const WinControl& parent, const std::string& name) {
    if (!name.empty() && WindowOf(parent).FindComponent(name))
        throw PropertyError("A component named " + name + " already exists");
}

void GiveToWindow(Control& control, WinControl& parent) {
    auto& window = const_cast<WinControl&>(WindowOf(parent));
    if (control.Owner() != &window) window.InsertComponent(&control);
}

} // namespace wb::gui
