#include "tag_editor/windows/WindowCaption.h"

#include "platform/gui/Form.h"
#include "tag_editor/controls/decoration/VlGrdCpt.h"

namespace velmora {

TVlGradientCaption* GiveGradientCaption(wb::gui::Form& form, wb::gui::TColor startColor) {
    auto* caption = new TVlGradientCaption(&form);
    caption->SetName("GradientCaption");
    wb::gui::TFont font;
    font.Name = "MS Sans Serif";
    font.SetSize(8);
    font.Style = wb::gui::fsBold;
    font.Color = wb::gui::clYellow;
    caption->SetFont(font);
    caption->SetGradientInactive(true);
    caption->SetStartColor(startColor);
    caption->SetFormCaption(form.Caption());
    return caption;
}

} // namespace velmora
