#pragma once
// A slider. A vertical one has its minimum at the top.
#include <string>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

enum class Orientation { Horizontal, Vertical };

class TrackBar : public WidgetControl {
public:
    explicit TrackBar(Component* owner = nullptr, Orientation orientation = Orientation::Horizontal);
    TrackBar(WinControl& parent, const std::string& name, Orientation orientation = Orientation::Horizontal);
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    void SetRange(int min, int max);
    int Min() const;
    int Max() const;
    // Setting the position fires OnChange when it changes, as moving it does.
    void SetPosition(int position);
    int Position() const;
    void SetLineSize(int step);
    void SetPageSize(int step);
    void SetFrequency(int ticks);  // kept; ticks are drawn only with a tick style
    void SetTicksVisible(bool visible);
    // Moves by line steps, as the arrow keys do.
    void StepBy(int lines);
    TNotifyEvent OnChange;
};

} // namespace wb::gui
