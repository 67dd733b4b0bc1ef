#pragma once
// The title bar every window of the tag editor carries: a gradient from the
// start colour, in the active and the inactive look, with the window's
// title in yellow bold.
#include "platform/gui/Colors.h"

namespace wb::gui {
class Form;
}

namespace velmora {

class TVlGradientCaption;

TVlGradientCaption* GiveGradientCaption(wb::gui::Form& form, wb::gui::TColor startColor = wb::gui::clRed);

} // namespace velmora
