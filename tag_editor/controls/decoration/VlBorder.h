#pragma once
// A rectangle that is only a border: the separator lines of the forms.
#include <functional>
#include <string>

#include "tag_editor/controls/decoration/VlBordered.h"

namespace velmora {

class TVlBorder : public TVlBorderedControl {
public:
    explicit TVlBorder(wb::Component* owner = nullptr);
    TVlBorder(wb::gui::WinControl& parent, const std::string& name);

    std::function<void(wb::Persistent* sender)> OnMouseEnter, OnMouseLeave;

    // What the borders leave inside.
    Rect ClientRect() const;

protected:
    void Paint(Canvas& canvas) override;
    void MouseEnter() override;
    void MouseLeave() override;
};

} // namespace velmora
