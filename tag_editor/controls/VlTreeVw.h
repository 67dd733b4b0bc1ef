#pragma once
// A tree view with a frame of its own drawn over its border, chosen by focus
// and mouse hover, a selection outline while unfocused, mouse enter and leave
// events, and wheel scrolling by the system's scroll-line count.
#include <QTreeWidget>

#include "tag_editor/controls/VlCommon.h"

class QEvent;
class QPainter;
class QWidget;
class QScrollBar;
class QWheelEvent;

// The frame properties and their behaviour, shared by the framed tree, file
// list, directory list and drive box.
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
    // Once the widget has handled an event: the frame drawn over its border
    // on a paint (where the control draws it there), the mouse followed on
    // enter and leave and reported as the widget.
    void FrameEvent(QWidget* widget, QEvent* e, TColor backColor, bool paintsFrame);

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

class TVlCustomTreeView : public QTreeWidget, public TVlFrameControl {
    Q_OBJECT
public:
    explicit TVlCustomTreeView(QWidget* parent = nullptr);
    ~TVlCustomTreeView() override;

    void RepaintFrame() override;

    TColor Color() const { return color_; }
    virtual void SetColor(TColor c);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    const wb::gui::TPen& SelectionPen() const { return selectionPen_; }
    virtual void SetSelectionPen(const wb::gui::TPen& pen);

    // The vertical scroll position, in rows.
    int ScrollPos() const;

protected:
    virtual void MouseEnter();
    virtual void MouseLeave();

    bool FrameHasFocus() const override { return hasFocus(); }
    void FrameVisibleChanged() override;
    void FrameInvalidate() override;

    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    TColor color_ = wb::gui::clWindow;
    bool hideSelection_ = true;
    wb::gui::TPen selectionPen_{wb::gui::clBtnShadow, 1, wb::gui::PenStyle::Solid};
};
