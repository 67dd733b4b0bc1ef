#pragma once
// A control that paints itself through a canvas and takes no focus: the
// base of labels, borders and bars that a program draws in its own way.
#include <string>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class Canvas;

class GraphicControl : public WidgetControl {
public:
    explicit GraphicControl(Component* owner = nullptr);
    ~GraphicControl() override;
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }
    TNotifyEvent OnClick;

protected:
    void Paint(Canvas& canvas) override = 0;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
};

} // namespace wb::gui
