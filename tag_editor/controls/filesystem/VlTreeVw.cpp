#include "tag_editor/controls/filesystem/VlTreeVw.h"

#include "platform/gui/ScreenInfo.h"

namespace velmora {

using namespace wb::gui;

TVlCustomTreeView::TVlCustomTreeView(wb::Component* owner) : TVlFramed(owner) {}

TVlCustomTreeView::TVlCustomTreeView(WinControl& parent, const std::string& name) : TVlCustomTreeView(&parent) {
    Place(parent, name);
}

TVlCustomTreeView::~TVlCustomTreeView() = default;

void TVlCustomTreeView::SetColor(TColor c) {
    TVlFramed::SetColor(c);
    if (FrameVisible()) RepaintFrame();
}

void TVlCustomTreeView::SetHideSelection(bool v) {
    if (v == hideSelection_) return;
    hideSelection_ = v;
    Invalidate();
}

void TVlCustomTreeView::SetSelectionPen(const TPen& pen) {
    selectionPen_ = pen;
    Invalidate();
}

void TVlCustomTreeView::Paint(Canvas& canvas) {
    // The outline stays inside the items, where the view drew the selection.
    TreeNode* node = Current();
    if (!hideSelection_ && !Focused() && node && node->Selected()) {
        const Rect text = TextRect(node);
        const auto pen = canvas.Pen();
        const auto brush = canvas.Brush();
        canvas.SetClipRect(ItemsRect());
        canvas.Pen() = selectionPen_;
        canvas.Brush().Style = BrushStyle::Clear;
        // A little wider than the text, as the selection's own box is.
        canvas.Rectangle(text.left, text.top, text.right + 4, text.bottom);
        canvas.ClearClipRect();
        canvas.Pen() = pen;
        canvas.Brush() = brush;
    }
    TVlFramed::Paint(canvas);
}

bool TVlCustomTreeView::MouseWheel(int delta, TShiftState) {
    // A step up that would go above the first row does nothing.
    const int lines = WheelScrollLines();
    const int pos = ScrollPos();
    if (delta < 0)
        SetScrollPos(pos + lines);
    else if (delta > 0 && pos - lines >= 0)
        SetScrollPos(pos - lines);
    return true;
}

} // namespace velmora
