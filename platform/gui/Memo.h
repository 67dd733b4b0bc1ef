#pragma once
// A multi-line text, read-only when asked.
#include <string>
#include <vector>

#include "platform/gui/Colors.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class Memo : public WidgetControl {
public:
    explicit Memo(Component* owner = nullptr);
    Memo(WinControl& parent, const std::string& name);

    void SetLines(const std::vector<std::string>& lines);
    std::vector<std::string> Lines() const;
    void SetReadOnly(bool readOnly);
    void SetColor(TColor color);
};

} // namespace wb::gui
