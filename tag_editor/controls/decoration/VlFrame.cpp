#include "tag_editor/controls/decoration/VlFrame.h"

namespace velmora {

using namespace wb::gui;

void TVlFrameControl::SetFrameColor(TColor v) {
    if (v == frameColor_) return;
    frameColor_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameFlat(bool v) {
    if (v == frameFlat_) return;
    frameFlat_ = v;
    if (v) {
        SetFrameVisible(true);
        frameSides_ = TSides::All();
        frameStyle_ = frameFlatStyle_;
    }
    RepaintFrame();
    FrameInvalidate();
}

void TVlFrameControl::SetFrameFlatStyle(TFrameStyle v) {
    if (v == frameFlatStyle_) return;
    frameFlatStyle_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameFocusStyle(TFrameStyle v) {
    if (v == frameFocusStyle_) return;
    frameFocusStyle_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameSides(TSides v) {
    if (v == frameSides_) return;
    frameSides_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameStyle(TFrameStyle v) {
    if (v == frameStyle_) return;
    frameStyle_ = v;
    RepaintFrame();
}

void TVlFrameControl::SetFrameVisible(bool v) {
    if (v == frameVisible_) return;
    frameVisible_ = v;
    FrameVisibleChanged();
}

void TVlFrameControl::UpdateFrame(bool viaMouse, bool inFocus) {
    if (viaMouse) mouseOver_ = inFocus;
    if (frameFlat_) {
        frameStyle_ = (FrameHasFocus() || mouseOver_) ? frameFocusStyle_ : frameFlatStyle_;
        RepaintFrame();
    }
}

void TVlFrameControl::PaintControlFrame(Canvas& canvas, int width, int height, TColor backColor) const {
    DrawControlFrame(canvas, width, height, frameSides_, frameColor_, backColor, frameStyle_);
}

int WheelScrolledTop(int top, int delta, int lines) {
    if (delta < 0) return top + lines;
    if (delta > 0 && top - lines >= 0) return top - lines;
    return top;
}

} // namespace velmora
