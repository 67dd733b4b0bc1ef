#pragma once
// Several components watching the messages of one window through one shared
// replacement of its window procedure.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Component.h"
#include "platform/gui/WinControl.h"

namespace velmora {

using wb::gui::Message;

// Private messages of the hook list's utility window: hook a re-created
// window again; free a control hook left without hooks.
constexpr uint32_t CM_RECREATEWINDOW = 45138;   // 0xB052
constexpr uint32_t CM_DESTROYHOOK = 45139;      // 0xB053

class TVlWindowHook;
class THookList;

using THookMessageEvent = std::function<void(wb::Persistent* Sender, Message& Msg, bool& Handled)>;

// One per hooked window.
class TControlHook {
public:
    ~TControlHook();
    wb::gui::WinControl* Control() const { return control_; }
    const std::vector<TVlWindowHook*>& Hooks() const { return hooks_; }
    bool Installed() const { return state_ != nullptr; }

private:
    friend class THookList;
    friend class TVlWindowHook;
    struct ProcState;
    TControlHook() = default;
    void SetControl(wb::gui::WinControl* control);
    void Install();
    void Remove();
    intptr_t HookProc(wb::gui::Window& window, Message& msg, const wb::gui::WindowProc& previous);
    void RunHandlers(bool before, Message& msg, bool& handled);

    wb::gui::WinControl* control_ = nullptr;
    std::shared_ptr<ProcState> state_;  // the installed procedure's link to this object
    wb::gui::WindowProc ownProc_;
    wb::gui::WindowProc previous_;
    wb::gui::WindowHandle installedOn_ = 0;
    std::vector<TVlWindowHook*> hooks_;
    bool destroying_ = false;
};

// Every control hook of the process and the utility window that does their
// deferred work.
class THookList {
public:
    static THookList& Instance();  // made on first use
    static bool Exists();
    ~THookList();

    TControlHook* Find(const wb::gui::WinControl* control) const;
    TControlHook* Get(wb::gui::WinControl* control);  // made, listed and attached when none
    bool Contains(const TControlHook* hook) const;
    int Count() const { return static_cast<int>(hooks_.size()); }
    wb::gui::WindowHandle UtilityWindow() const { return utility_->Handle(); }

private:
    friend class TControlHook;
    friend class TVlWindowHook;
    THookList();
    intptr_t UtilityProc(Message& msg);
    void Free(TControlHook* hook);
    void ControlGone(wb::gui::WinControl* control);
    std::vector<TControlHook*> hooks_;
    std::unique_ptr<wb::gui::Window> utility_;
};

class TVlWindowHook : public wb::Component {
public:
    explicit TVlWindowHook(wb::Component* owner = nullptr);
    ~TVlWindowHook() override;
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    bool Active() const { return active_; }
    void SetActive(bool active);
    wb::gui::WinControl* WinControl() const;
    void SetWinControl(wb::gui::WinControl* control);
    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

    // The extra stored flag: the watched window is the owning form. Stored
    // in its place of a reference to that form.
    bool IsForm() const;
    void SetIsForm(bool isForm);

protected:
    void Notification(wb::Component* c, wb::Operation op) override;
    virtual void DoBeforeMessage(Message& msg, bool& handled);
    virtual void DoAfterMessage(Message& msg, bool& handled);

private:
    friend class TControlHook;
    friend class THookList;
    void Register();
    void Unregister();
    bool active_ = false;
    wb::gui::WinControl* wanted_ = nullptr;
    TControlHook* controlHook_ = nullptr;
    uint64_t serial_;
};

} // namespace velmora
