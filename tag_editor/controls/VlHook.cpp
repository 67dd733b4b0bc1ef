#include "tag_editor/controls/VlHook.h"

#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "platform/gui/Guard.h"

namespace velmora {

using wb::gui::CallWindowProc;
using wb::gui::Window;
using wb::gui::WindowProc;
using wb::gui::WM_DESTROY;
using wb::gui::WM_QUIT;

// What an installed procedure knows of its control hook. When the control
// hook lets go while another procedure sits above its own, the procedure
// stays in the chain and only passes messages on to its predecessor.
struct TControlHook::ProcState {
    TControlHook* hook;
    WindowProc previous;
};

namespace {
THookList* g_list = nullptr;
bool g_listGone = false;
uint64_t g_serial = 0;

bool IsFormComponent(const wb::Component* c) {
    const auto& forms = wb::FormList::All();
    return c && std::find(forms.begin(), forms.end(), c) != forms.end();
}
} // namespace

// ---- control hook

TControlHook::~TControlHook() {
    destroying_ = true;
    if (g_list) {
        auto& list = g_list->hooks_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    while (!hooks_.empty()) hooks_.back()->Unregister();
    Remove();
    control_ = nullptr;
}

void TControlHook::SetControl(wb::gui::WinControl* control) {
    if (control == control_) return;
    Remove();
    control_ = control;
    if (!hooks_.empty()) Install();
}

void TControlHook::Install() {
    if (!control_ || control_->Designing() || control_->Destroying() || destroying_) return;
    Window& window = control_->Handle();
    if (state_ && installedOn_ == window.Handle()) return;  // already in this window's chain
    if (state_) Remove();
    previous_ = window.GetWindowProc();
    state_ = std::make_shared<ProcState>(ProcState{this, previous_});
    // The procedure owns the link; the control hook only points at it.
    auto link = state_;
    ownProc_ = wb::gui::MakeWindowProc([link](Window& w, Message& m) -> intptr_t {
        if (link->hook) return link->hook->HookProc(w, m, link->previous);
        return CallWindowProc(link->previous, w, m);
    });
    window.SetWindowProc(ownProc_);
    installedOn_ = window.Handle();
}

void TControlHook::Remove() {
    if (state_) {
        Window* window = wb::gui::FindWindow(installedOn_);
        if (window && window->GetWindowProc() == ownProc_) window->SetWindowProc(previous_);
        // Otherwise someone installed a procedure above ours: ours stays a
        // plain pass-through, alive as long as that one holds it.
        state_->hook = nullptr;
    }
    state_.reset();
    ownProc_.reset();
    previous_.reset();
    installedOn_ = 0;
}

intptr_t TControlHook::HookProc(Window& window, Message& msg, const WindowProc& previous) {
    if (!control_) return CallWindowProc(previous, window, msg);
    wb::gui::WinControl* control = control_;
    bool handled = false;
    if (msg.Msg != WM_QUIT) RunHandlers(true, msg, handled);
    if (!handled || msg.Msg == WM_DESTROY) {
        auto after = wb::OnScopeExit([&] { RunHandlers(false, msg, handled); });
        msg.Result = previous ? CallWindowProc(previous, window, msg) : control->DefWndProc(msg);
    }
    if (msg.Msg == WM_DESTROY) {
        // Handlers may have freed this control hook meanwhile only through
        // the posted message, which comes later: this is still valid.
        Remove();
        if (g_list && !destroying_ && control_ && !control_->Destroying())
            wb::gui::PostMessage(g_list->UtilityWindow(), CM_RECREATEWINDOW, 0,
                                 reinterpret_cast<intptr_t>(this));
    }
    return msg.Result;
}

void TControlHook::RunHandlers(bool before, Message& msg, bool& handled) {
    if (hooks_.empty() || !control_ || destroying_ || control_->Destroying()) return;
    // A handler may add or remove hooks: walk a copy and skip the ones gone.
    struct Entry { TVlWindowHook* hook; uint64_t serial; };
    std::vector<Entry> order;
    for (auto it = hooks_.rbegin(); it != hooks_.rend(); ++it) order.push_back({*it, (*it)->serial_});
    for (const Entry& e : order) {
        if (destroying_ || !control_) return;
        auto found = std::find(hooks_.begin(), hooks_.end(), e.hook);
        if (found == hooks_.end() || (*found)->serial_ != e.serial) continue;
        // A failing handler is shown; the others and the window still run.
        wb::gui::RunGuarded([&] {
            if (before) e.hook->DoBeforeMessage(msg, handled);
            else e.hook->DoAfterMessage(msg, handled);
        });
        if (handled) return;
    }
}

// ---- hook list

THookList& THookList::Instance() {
    if (!g_list) {
        static struct Finalizer {
            ~Finalizer() {
                delete g_list;
            }
        } finalizer;
        g_list = new THookList();
    }
    return *g_list;
}

bool THookList::Exists() { return g_list != nullptr; }

THookList::THookList()
    : utility_(std::make_unique<Window>(wb::gui::MakeWindowProc(
          [this](Window&, Message& m) -> intptr_t { return UtilityProc(m); }))) {}

THookList::~THookList() {
    while (!hooks_.empty()) delete hooks_.back();  // each takes itself out
    utility_.reset();
    g_list = nullptr;
    g_listGone = true;
}

TControlHook* THookList::Find(const wb::gui::WinControl* control) const {
    if (!control) return nullptr;
    for (TControlHook* h : hooks_)
        if (h->control_ == control) return h;
    return nullptr;
}

TControlHook* THookList::Get(wb::gui::WinControl* control) {
    if (TControlHook* h = Find(control)) return h;
    auto* h = new TControlHook();
    hooks_.push_back(h);
    h->SetControl(control);
    return h;
}

bool THookList::Contains(const TControlHook* hook) const {
    return std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end();
}

void THookList::Free(TControlHook* hook) {
    if (Contains(hook)) delete hook;
}

void THookList::ControlGone(wb::gui::WinControl* control) {
    for (TControlHook* h : std::vector<TControlHook*>(hooks_)) {
        if (h->control_ != control) continue;
        for (TVlWindowHook* hook : h->hooks_) {
            hook->controlHook_ = nullptr;
            hook->wanted_ = nullptr;
        }
        h->hooks_.clear();
        h->Remove();
        h->control_ = nullptr;
        wb::gui::PostMessage(UtilityWindow(), CM_DESTROYHOOK, 0, reinterpret_cast<intptr_t>(h));
    }
}

intptr_t THookList::UtilityProc(Message& msg) {
    auto* hook = reinterpret_cast<TControlHook*>(msg.LParam);
    switch (msg.Msg) {
        case CM_RECREATEWINDOW:
            if (Contains(hook)) hook->Install();
            return 0;
        case CM_DESTROYHOOK:
            if (Contains(hook) && hook->hooks_.empty()) Free(hook);
            return 0;
        default:
            return wb::gui::DefWindowProc(*utility_, msg);
    }
}

// ---- window hook

const wb::ClassInfo& TVlWindowHook::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TVlWindowHook", &wb::Component::StaticClass());
        i.Boolean<TVlWindowHook>("Active", &TVlWindowHook::Active, &TVlWindowHook::SetActive);
        i.Object<TVlWindowHook, wb::gui::WinControl>("WinControl", wb::gui::WinControl::StaticClass(),
                                            &TVlWindowHook::WinControl, &TVlWindowHook::SetWinControl);
        return i;
    }();
    return info;
}

TVlWindowHook::TVlWindowHook(wb::Component* owner) : Component(owner), serial_(++g_serial) {
    active_ = true;
}

TVlWindowHook::~TVlWindowHook() {
    Destroying_();
    SetActive(false);
    SetWinControl(nullptr);
}

void TVlWindowHook::SetActive(bool active) {
    if (active == active_) return;
    if (active) Register();
    else Unregister();
}

wb::gui::WinControl* TVlWindowHook::WinControl() const {
    return controlHook_ ? controlHook_->control_ : wanted_;
}

void TVlWindowHook::Register() {
    if (wanted_ && !Destroying() && !g_listGone) {
        TControlHook* ch = THookList::Instance().Get(wanted_);
        if (std::find(ch->hooks_.begin(), ch->hooks_.end(), this) == ch->hooks_.end()) {
            ch->hooks_.push_back(this);
            controlHook_ = ch;
            ch->SetControl(wanted_);
        }
        ch->Install();
    }
    active_ = true;
}

void TVlWindowHook::Unregister() {
    if (TControlHook* ch = controlHook_) {
        controlHook_ = nullptr;
        ch->hooks_.erase(std::remove(ch->hooks_.begin(), ch->hooks_.end(), this), ch->hooks_.end());
        if (ch->hooks_.empty()) ch->Remove();
    }
    active_ = false;
}

void TVlWindowHook::SetWinControl(wb::gui::WinControl* control) {
    if (control == WinControl()) return;
    bool wasActive = active_;
    TControlHook* ch = controlHook_;
    Unregister();
    if (wanted_ && wanted_ != control) RemoveFreeNotification(wanted_);
    wanted_ = control;
    if (control) FreeNotification(control);
    if (ch && ch->hooks_.empty() && g_list)
        wb::gui::PostMessage(g_list->UtilityWindow(), CM_DESTROYHOOK, 0, reinterpret_cast<intptr_t>(ch));
    if (wasActive) Register();
}

bool TVlWindowHook::IsForm() const {
    return WinControl() && WinControl() == Owner() && IsFormComponent(Owner());
}

void TVlWindowHook::SetIsForm(bool isForm) {
    if (isForm && IsFormComponent(Owner())) SetWinControl(dynamic_cast<wb::gui::WinControl*>(Owner()));
}

void TVlWindowHook::Notification(wb::Component* c, wb::Operation op) {
    Component::Notification(c, op);
    if (op != wb::Operation::Remove || !c) return;
    if (c == WinControl() || c == wanted_) {
        if (auto* control = dynamic_cast<wb::gui::WinControl*>(c); control && g_list)
            g_list->ControlGone(control);
        wanted_ = nullptr;
        SetWinControl(nullptr);
    } else if (c == Owner() || !Owner()) {
        SetWinControl(nullptr);
    }
}

void TVlWindowHook::DoBeforeMessage(Message& msg, bool& handled) {
    if (BeforeMessage) BeforeMessage(this, msg, handled);
}

void TVlWindowHook::DoAfterMessage(Message& msg, bool& handled) {
    if (AfterMessage) AfterMessage(this, msg, handled);
}

} // namespace velmora
