#pragma once
// The frame the framed controls draw over their border, chosen by focus and
// mouse hover, and the events every framed control handles alike: the frame
// drawn after each paint, mouse enter and leave, focus, resize, and wheel
// scrolling by the system's scroll-line count.
#include <functional>

#include "platform/gui/Canvas.h"
#include "platform/gui/Keys.h"
#include "platform/gui/ScreenInfo.h"
#include "tag_editor/controls/VlCommon.h"

namespace wb {
class Persistent;
}

namespace velmora {

// The frame properties and their behaviour.
class TVlFrameControl {
public:
    virtual ~TVlFrameControl() = default;

    TColor FrameColor() const { return frameColor_; }
    bool FrameFlat() const { return frameFlat_; }
    TFrameStyle FrameFlatStyle() const { return frameFlatStyle_; }
    TFrameStyle FrameFocusStyle() const { return frameFocusStyle_; }
    TSides FrameSides() const { return frameSides_; }
    TFrameStyle FrameStyle() const { return frameStyle_; }
    bool FrameVisible() const { return frameVisible_; }
    bool MouseOver() const { return mouseOver_; }

    virtual void SetFrameColor(TColor v);
    virtual void SetFrameFlat(bool v);
    virtual void SetFrameFlatStyle(TFrameStyle v);
    virtual void SetFrameFocusStyle(TFrameStyle v);
    virtual void SetFrameSides(TSides v);
    virtual void SetFrameStyle(TFrameStyle v);
    virtual void SetFrameVisible(bool v);

    virtual void UpdateFrame(bool viaMouse, bool inFocus);
    virtual void RepaintFrame() = 0;

    std::function<void(wb::Persistent* sender)> OnMouseEnter, OnMouseLeave;

protected:
    virtual bool FrameHasFocus() const = 0;
    // The frame became visible or hidden.
    virtual void FrameVisibleChanged() = 0;
    // After FrameFlat changed: the control is drawn again.
    virtual void FrameInvalidate() { RepaintFrame(); }

    // Draws the frame of a whole control of that size over its border.
    void PaintControlFrame(wb::gui::Canvas& canvas, int width, int height, TColor backColor) const;

    bool mouseOver_ = false;

private:
    TColor frameColor_ = wb::gui::clBtnShadow;
    bool frameFlat_ = false;
    TFrameStyle frameFlatStyle_ = fsStatus;
    TFrameStyle frameFocusStyle_ = fsLowered;
    TSides frameSides_ = TSides::All();
    TFrameStyle frameStyle_ = fsFlat;
    bool frameVisible_ = false;
};

// The first row shown after a wheel turn of delta (120 a notch) by lines
// rows; a step up that would go above the first row does nothing.
int WheelScrolledTop(int top, int delta, int lines);

// A control of the layer with the frame: the one place where the framed
// controls handle their frame events. Lists scroll by wheel lines; other
// controls keep their own wheel handling.
template <class Base>
class TVlFramed : public Base, public TVlFrameControl {
public:
    using Base::Base;

    void RepaintFrame() override { this->Repaint(); }

protected:
    // The colour the frame is drawn against.
    virtual TColor FrameBackColor() const = 0;
    // False for a control that draws its frame in its own paint.
    virtual bool FrameOverBorder() const { return true; }

    bool FrameHasFocus() const override { return this->Focused(); }
    void FrameVisibleChanged() override { RepaintFrame(); }

    void Paint(wb::gui::Canvas& canvas) override {
        Base::Paint(canvas);
        if (FrameOverBorder() && FrameVisible())
            PaintControlFrame(canvas, this->Width(), this->Height(), FrameBackColor());
    }
    void MouseEnter() override {
        Base::MouseEnter();
        UpdateFrame(true, true);
        if (OnMouseEnter) OnMouseEnter(this);
    }
    void MouseLeave() override {
        Base::MouseLeave();
        UpdateFrame(true, false);
        if (OnMouseLeave) OnMouseLeave(this);
    }
    void DoEnter() override {
        UpdateFrame(false, true);
        Base::DoEnter();
    }
    void DoExit() override {
        Base::DoExit();
        UpdateFrame(false, false);
    }
    void Resize() override {
        Base::Resize();
        if (FrameVisible()) RepaintFrame();
    }
    bool MouseWheel(int delta, wb::gui::TShiftState shift) override {
        if constexpr (requires(Base& b) { b.SetTopIndex(b.TopIndex()); }) {
            this->SetTopIndex(WheelScrolledTop(this->TopIndex(), delta, wb::gui::WheelScrollLines()));
            return true;
        } else {
            return Base::MouseWheel(delta, shift);
        }
    }
};

} // namespace velmora
