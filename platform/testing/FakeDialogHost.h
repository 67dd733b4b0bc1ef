#pragma once
// A recording stand-in for a dialog window, for tests of dialog logic without
// a display. It behaves like the real window where logic relies on it: an
// edit notifies Changed whenever its text is set (even to the same text),
// automatic check boxes and radio buttons keep their own marks when clicked,
// disabled controls ignore the user, and every message box, file-open
// request and progress position is recorded in order.
#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/gui/DialogHost.h"

namespace wb::gui {

class FakeDialogHost : public DialogHost {
public:
    enum class Kind { Static, Edit, Button, CheckBox, Radio, Progress };

    struct Message {
        std::string text;
        MsgKind kind;
        bool operator==(const Message&) const = default;
    };

    struct Control {
        Kind kind = Kind::Static;
        int group = 0;  // radios of one group clear each other
        std::string text;
        bool enabled = true;
        bool checked = false;
        int low = 0, high = 100, pos = 0;
        std::vector<int> positions;  // every position set, in order
    };

    // Declares a control. Using an undeclared id is a test error and throws.
    void Add(int id, Kind kind, int group = 0) {
        Control c;
        c.kind = kind;
        c.group = group;
        controls_[id] = std::move(c);
    }

    // --- what the user does -------------------------------------------------

    // A click on an enabled control; false when it is disabled and nothing
    // happens.
    bool Click(int id) {
        Control& c = At(id);
        if (!c.enabled) return false;
        if (c.kind == Kind::CheckBox) c.checked = !c.checked;
        if (c.kind == Kind::Radio) {
            for (auto& [otherId, other] : controls_)
                if (other.kind == Kind::Radio && other.group == c.group) other.checked = false;
            c.checked = true;
        }
        Send(id, Notify::Clicked);
        return true;
    }

    // Typing a whole new text into an enabled edit.
    bool Type(int id, const std::string& text) {
        Control& c = At(id);
        if (c.kind != Kind::Edit) throw std::logic_error("typing into a control that is no edit");
        if (!c.enabled) return false;
        c.text = text;
        Send(id, Notify::Changed);
        return true;
    }

    // The answers of the next file-open dialogs; nullopt is a cancel.
    void QueueOpenAnswer(std::optional<std::string> answer) {
        openAnswers_.push_back(std::move(answer));
    }

    // --- what tests read ----------------------------------------------------

    const Control& Item(int id) const { return At(id); }
    const std::string& Text(int id) const { return At(id).text; }
    bool Enabled(int id) const { return At(id).enabled; }
    const std::vector<int>& Positions(int id) const { return At(id).positions; }
    void ClearPositions(int id) { At(id).positions.clear(); }

    std::vector<Message> messages;
    std::vector<OpenFileOptions> openRequests;
    std::optional<int> endResult;

    std::vector<Message> TakeMessages() { return std::exchange(messages, {}); }

    // --- DialogHost ---------------------------------------------------------

    void SetItemText(int id, const std::string& text) override {
        Control& c = At(id);
        c.text = text;
        if (c.kind == Kind::Edit) Send(id, Notify::Changed);
    }
    std::string GetItemText(int id) const override { return At(id).text; }
    void EnableItem(int id, bool enable) override { At(id).enabled = enable; }
    bool IsItemEnabled(int id) const override { return At(id).enabled; }
    void CheckItem(int id, bool checked) override {
        Control& c = At(id);
        if (c.kind != Kind::CheckBox && c.kind != Kind::Radio)
            throw std::logic_error("checking a control that cannot be checked");
        c.checked = checked;
    }
    bool IsItemChecked(int id) const override { return At(id).checked; }

    void SetProgressRange(int id, int low, int high) override {
        Control& c = Progress(id);
        c.low = low;
        c.high = high;
    }
    void SetProgressPos(int id, int pos) override {
        Control& c = Progress(id);
        c.pos = pos < c.low ? c.low : pos > c.high ? c.high : pos;
        c.positions.push_back(pos);
    }
    int GetProgressPos(int id) const override { return At(id).pos; }

    void MessageBox(const std::string& text, MsgKind kind) override {
        messages.push_back({text, kind});
    }
    std::optional<std::string> OpenFileDialog(const OpenFileOptions& options) override {
        openRequests.push_back(options);
        if (openAnswers_.empty()) throw std::logic_error("file-open dialog without a scripted answer");
        auto answer = std::move(openAnswers_.front());
        openAnswers_.pop_front();
        return answer;
    }

    void SetCommandHandler(CommandHandler handler) override { handler_ = std::move(handler); }
    void EndDialog(int result) override { endResult = result; }

private:
    Control& At(int id) {
        auto it = controls_.find(id);
        if (it == controls_.end())
            throw std::logic_error("no control with id " + std::to_string(id));
        return it->second;
    }
    const Control& At(int id) const { return const_cast<FakeDialogHost*>(this)->At(id); }
    Control& Progress(int id) {
        Control& c = At(id);
        if (c.kind != Kind::Progress) throw std::logic_error("not a progress bar");
        return c;
    }
    void Send(int id, Notify code) {
        if (handler_) handler_(id, code);
    }

    std::map<int, Control> controls_;
    std::deque<std::optional<std::string>> openAnswers_;
    CommandHandler handler_;
};

} // namespace wb::gui
