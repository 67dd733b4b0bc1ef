#pragma once
// A frame drawn around an area; clicks go through it.
#include <string>

#include "platform/gui/WidgetControl.h"

namespace wb::gui {

enum class BevelStyle { Lowered, Raised };

class Bevel : public WidgetControl {
public:
    explicit Bevel(Component* owner = nullptr, BevelStyle style = BevelStyle::Lowered);
    Bevel(WinControl& parent, const std::string& name, BevelStyle style = BevelStyle::Lowered);
};

} // namespace wb::gui
