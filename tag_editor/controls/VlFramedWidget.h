#pragma once
// The frame on a Qt widget, for the framed controls not yet on the layer's
// controls: the frame drawn after each paint, mouse enter and leave, focus,
// resize, and wheel scrolling by the system's scroll-line count.
#include <QAbstractItemView>
#include <QEvent>
#include <QScrollBar>

#include <type_traits>

#include "tag_editor/controls/VlFrame.h"

class QFocusEvent;
class QFont;
class QLabel;
class QResizeEvent;
class QWheelEvent;
class QWidget;

namespace velmora {

// For the controls still on Qt widgets: a widget's font as the canvas takes
// it, the colour its items are drawn on (and, for a button part, its face),
// and a path shortened to a Qt label's width.
wb::gui::TFont FontOf(const QFont& font);
void SetBackColor(QWidget* widget, TColor color, bool withButton = false);
void ShowPathInLabel(QLabel* label, const std::string& path, int widthWithoutLabel);

// Draws a control's frame over a widget's border.
void PaintWidgetFrame(QWidget& widget, const TVlFrameControl& frame, TColor backColor);

// Scrolls by the system's wheel scroll-line count; a step up that would go
// above the first row does nothing.
void VlWheelScroll(QScrollBar* bar, QWheelEvent* e);

// A Qt widget with the frame: the one place where the framed controls handle
// their frame events. Item views scroll by wheel lines; other widgets keep
// their own wheel handling.
template <class Base>
class TVlFramedWidget : public Base, public TVlFrameControl {
public:
    using Base::Base;

    void RepaintFrame() override {
        this->update();
        if (this->isVisible()) this->repaint();
    }

    // A widget is no component, so its events carry the widget.
    TNotifyEvent OnMouseEnter, OnMouseLeave;

protected:
    // The colour the frame is drawn against.
    virtual TColor FrameBackColor() const = 0;
    // False for a control that draws its frame in its own paint.
    virtual bool FrameOverBorder() const { return true; }
    virtual void MouseEnter() {
        if (OnMouseEnter) OnMouseEnter(this);
    }
    virtual void MouseLeave() {
        if (OnMouseLeave) OnMouseLeave(this);
    }

    bool FrameHasFocus() const override { return this->hasFocus(); }
    void FrameVisibleChanged() override { RepaintFrame(); }

    bool event(QEvent* e) override {
        const bool r = Base::event(e);
        switch (e->type()) {
            case QEvent::Paint:
                if (FrameOverBorder() && FrameVisible()) PaintWidgetFrame(*this, *this, FrameBackColor());
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
