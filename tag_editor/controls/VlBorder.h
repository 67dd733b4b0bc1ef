#pragma once
// A rectangle that is only a border: the separator lines of the forms.
#include <functional>
#include <string>

#include "platform/gui/GraphicControl.h"
#include "tag_editor/controls/VlCommon.h"

namespace velmora {

class TVlBorder : public wb::gui::GraphicControl {
public:
    explicit TVlBorder(wb::Component* owner = nullptr);
    TVlBorder(wb::gui::WinControl& parent, const std::string& name);

    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v);
    TFrameStyle BorderInner() const { return borderInner_; }
    void SetBorderInner(TFrameStyle v);
    TFrameStyle BorderOuter() const { return borderOuter_; }
    void SetBorderOuter(TFrameStyle v);
    TSides BorderSides() const { return borderSides_; }
    void SetBorderSides(TSides v);
    TColor FlatColor() const { return flatColor_; }
    void SetFlatColor(TColor v);
    std::function<void(wb::Persistent* sender)> OnMouseEnter, OnMouseLeave;

    // What the borders leave inside.
    Rect ClientRect() const;

protected:
    void Paint(Canvas& canvas) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    int bevelWidth_ = 1, borderWidth_ = 0;
    TColor borderColor_ = wb::gui::clBtnFace;
    TFrameStyle borderInner_ = fsNone, borderOuter_ = fsGroove;
    TSides borderSides_ = TSides::All();
    TColor flatColor_ = 0;
};

} // namespace velmora
