#pragma once
// The frame the framed controls draw over their border, chosen by focus and
// mouse hover, and the events every framed control handles alike: the frame
// drawn after each paint, mouse enter and leave, focus, resize, and wheel
// scrolling by the system's scroll-line count.
#include <QAbstractItemView>
#include <QEvent>
#include <QScrollBar>

#include <type_traits>

#include "platform/gui/Guard.h"
#include "tag_editor/controls/VlCommon.h"

class QFocusEvent;
class QResizeEvent;
class QWheelEvent;
class QWidget;

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

    TNotifyEvent OnMouseEnter, OnMouseLeave;

protected:
    virtual bool FrameHasFocus() const = 0;
    // The frame became visible or hidden.
    virtual void FrameVisibleChanged() = 0;
    // After FrameFlat changed: the control is drawn again.
    virtual void FrameInvalidate() { RepaintFrame(); }

    // Draws the frame of a whole window over a widget's border.
    void PaintControlFrame(QWidget* widget, TColor backColor);

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

// Scrolls by the system's wheel scroll-line count; a step up that would go
// above the first row does nothing.
void VlWheelScroll(QScrollBar* bar, QWheelEvent* e);

// A Qt widget with the frame: the one place where the framed controls handle
// their frame events. Item views scroll by wheel lines; other widgets keep
// their own wheel handling.
template <class Base>
class TVlFramed : public Base, public TVlFrameControl {
public:
    using Base::Base;

    void RepaintFrame() override {
        this->update();
        if (this->isVisible()) this->repaint();
    }

protected:
    // The colour the frame is drawn against.
    virtual TColor FrameBackColor() const = 0;
    // False for a control that draws its frame in its own paint.
    virtual bool FrameOverBorder() const { return true; }
    virtual void MouseEnter() {
        wb::gui::Fire(OnMouseEnter, this);
    }
    virtual void MouseLeave() {
        wb::gui::Fire(OnMouseLeave, this);
    }

    bool FrameHasFocus() const override { return this->hasFocus(); }
    void FrameVisibleChanged() override { RepaintFrame(); }

    bool event(QEvent* e) override {
        const bool r = Base::event(e);
        switch (e->type()) {
            case QEvent::Paint:
                if (FrameOverBorder() && FrameVisible()) PaintControlFrame(this, FrameBackColor());
                break;
            case QEvent::Enter:
                UpdateFrame(true, true);
                MouseEnter();
                break;
            case QEvent::Leave:
                UpdateFrame(true, false);
                MouseLeave();
                break;
            default: break;
        }
        return r;
    }
    void focusInEvent(QFocusEvent* e) override {
        UpdateFrame(false, true);
        Base::focusInEvent(e);
    }
    void focusOutEvent(QFocusEvent* e) override {
        Base::focusOutEvent(e);
        UpdateFrame(false, false);
    }
    void resizeEvent(QResizeEvent* e) override {
        Base::resizeEvent(e);
        if (FrameVisible()) RepaintFrame();
    }
    void wheelEvent(QWheelEvent* e) override {
        if constexpr (std::is_base_of_v<QAbstractItemView, Base>)
            VlWheelScroll(this->verticalScrollBar(), e);
        else
            Base::wheelEvent(e);
    }
};

} // namespace velmora
