#pragma once
// A panel: a raised area with a centred caption, a colour of its own, and
// room for child controls.
#include <string>

#include "platform/gui/Colors.h"
#include "platform/gui/WidgetControl.h"

namespace wb::gui {

class Panel : public WidgetControl {
public:
    explicit Panel(Component* owner = nullptr);
    Panel(WinControl& parent, const std::string& name, const std::string& caption = "");
    static const ClassInfo& StaticClass();
    const ClassInfo& Class() const override { return StaticClass(); }

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TColor FontColor() const { return fontColor_; }
    void SetFont(TColor color, bool bold);
    // Lowered, raised or no edge.
    enum class Edge { None, Raised, Lowered };
    void SetEdge(Edge edge);

private:
    TColor color_ = clBtnFace;
    TColor fontColor_ = clWindowText;
};

} // namespace wb::gui
