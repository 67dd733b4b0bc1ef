#pragma once
// A tree view with a frame of its own drawn over its border, chosen by focus
// and mouse hover, a selection outline while unfocused, mouse enter and leave
// events, and wheel scrolling by the system's scroll-line count.
#include <string>

#include "platform/gui/TreeView.h"
#include "tag_editor/controls/decoration/VlFrame.h"

namespace velmora {

class TVlCustomTreeView : public TVlFramed<wb::gui::TreeView> {
public:
    explicit TVlCustomTreeView(wb::Component* owner = nullptr);
    TVlCustomTreeView(wb::gui::WinControl& parent, const std::string& name);
    ~TVlCustomTreeView() override;

    void SetColor(TColor c) override;
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    const wb::gui::TPen& SelectionPen() const { return selectionPen_; }
    virtual void SetSelectionPen(const wb::gui::TPen& pen);

protected:
    TColor FrameBackColor() const override { return Color(); }
    void FrameInvalidate() override { Invalidate(); }

    void Paint(wb::gui::Canvas& canvas) override;
    bool MouseWheel(int delta, wb::gui::TShiftState shift) override;

private:
    bool hideSelection_ = true;
    wb::gui::TPen selectionPen_{wb::gui::clBtnShadow, 1, wb::gui::PenStyle::Solid};
};

} // namespace velmora
