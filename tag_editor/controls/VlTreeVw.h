#pragma once
// A tree view with a frame of its own drawn over its border, chosen by focus
// and mouse hover, a selection outline while unfocused, mouse enter and leave
// events, and wheel scrolling by the system's scroll-line count.
#include <QTreeWidget>

#include "tag_editor/controls/VlFramedWidget.h"

class QPaintEvent;

namespace velmora {

class TVlCustomTreeView : public TVlFramedWidget<QTreeWidget> {
    Q_OBJECT
public:
    explicit TVlCustomTreeView(QWidget* parent = nullptr);
    ~TVlCustomTreeView() override;

    TColor Color() const { return color_; }
    virtual void SetColor(TColor c);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    const wb::gui::TPen& SelectionPen() const { return selectionPen_; }
    virtual void SetSelectionPen(const wb::gui::TPen& pen);

    // The vertical scroll position, in rows.
    int ScrollPos() const;

protected:
    TColor FrameBackColor() const override { return color_; }
    void FrameInvalidate() override;

    void paintEvent(QPaintEvent* e) override;

private:
    TColor color_ = wb::gui::clWindow;
    bool hideSelection_ = true;
    wb::gui::TPen selectionPen_{wb::gui::clBtnShadow, 1, wb::gui::PenStyle::Solid};
};

} // namespace velmora
