#include "platform/gui/Image.h"

namespace wb::gui {

Image::Image(Component* owner) : GraphicControl(owner) {}

Image::Image(WinControl& parent, const std::string& name) : Image(&parent) { Place(parent, name); }

void Image::Paint(Canvas& canvas) {
    if (OnPaint) OnPaint(canvas, Width(), Height());
}

} // namespace wb::gui
