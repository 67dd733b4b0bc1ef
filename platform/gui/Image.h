#pragma once
// A picture drawn through a canvas at the control's size, so it stretches
// with the control.
#include <functional>
#include <string>

#include "platform/gui/GraphicControl.h"

namespace wb::gui {

class Image : public GraphicControl {
public:
    explicit Image(Component* owner = nullptr);
    Image(WinControl& parent, const std::string& name);
    std::function<void(Canvas& canvas, int width, int height)> OnPaint;

protected:
    void Paint(Canvas& canvas) override;
};

} // namespace wb::gui
