#include "platform/gui/WinControl.h"

#include <algorithm>

namespace wb::gui {

const ClassInfo& Control::StaticClass() {
    static ClassInfo& info = []() -> ClassInfo& {
        static ClassInfo i("Control", &Component::StaticClass());
        i.Boolean<Control>("Visible", &Control::Visible, &Control::SetVisible);
        i.Boolean<Control>("Enabled", &Control::Enabled, &Control::SetEnabled);
        return i;
    }();
    return info;
}

Control::~Control() { SetParentCore(nullptr); }

void Control::SetParent(WinControl* parent) { SetParentCore(parent); }

void Control::SetParentCore(WinControl* parent) {
    if (parent == parent_) return;
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    parent_ = parent;
    if (parent_) parent_->controls_.push_back(this);
}

const ClassInfo& WinControl::StaticClass() {
    static const ClassInfo info("WinControl", &Control::StaticClass());
    return info;
}

WinControl::WinControl(Component* owner) : Control(owner), self_(std::make_shared<WinControl*>(this)) {}

WinControl::~WinControl() {
    Destroying_();
    // Those watching the window let go of it while it is still whole.
    NotifyFreeing();
    DestroyComponents();
    DestroyControls();
    DestroyHandle();
    *self_ = nullptr;
}

void WinControl::DestroyControls() {
    // A freed child leaves this list itself, and its owner's list, so no
    // one frees it again; the list is read afresh as each one may take
    // others with it.
    while (!controls_.empty()) delete controls_.back();
}

Window& WinControl::Handle() {
    if (!window_) {
        std::weak_ptr<WinControl*> self = self_;
        window_ = std::make_unique<Window>(MakeWindowProc([self](Window& w, Message& m) -> intptr_t {
            auto alive = self.lock();
            if (!alive || !*alive) return DefWindowProc(w, m);
            (*alive)->WndProc(m);
            return m.Result;
        }));
        window_->SetOwner(this);
        CreateWnd();
    }
    return *window_;
}

void WinControl::DestroyHandle() {
    if (!window_) return;
    window_->Send(WM_DESTROY);
    DestroyWnd();
    window_.reset();
}

void WinControl::RecreateWnd() {
    DestroyHandle();
    Handle();
}

intptr_t WinControl::Perform(uint32_t msg, intptr_t wParam, intptr_t lParam) {
    return Handle().Send(msg, wParam, lParam);
}

bool WinControl::CanFocus() const {
    // Up to the form the control sits on; the form's own visibility does
    // not count, so a form being made can choose its focused control.
    const Control* c = this;
    for (; c->Parent(); c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    for (const Component* f : FormList::All())
        if (f == c) return true;
    return false;
}

intptr_t WinControl::DefWndProc(Message& msg) { return window_ ? DefWindowProc(*window_, msg) : 0; }

} // namespace wb::gui
