#pragma once
// Two arrow buttons that step a position within its range by the increment
// (the up button adds it, so a negative increment counts down).
#include <functional>
#include <string>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

enum class UpDownButton { Up, Down };

class UpDown : public WidgetControl {
public:
    explicit UpDown(Component* owner = nullptr);
    UpDown(WinControl& parent, const std::string& name);
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    void SetRange(int min, int max);
    void SetIncrement(int increment);
    void SetPosition(int position);
    int Position() const { return position_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    // A click on one of the arrows: steps, then fires OnClick.
    void Click(UpDownButton button);
    std::function<void(Persistent* sender, UpDownButton button)> OnClick;

private:
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
};

} // namespace wb::gui
