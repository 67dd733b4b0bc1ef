#pragma once
// A dialog described as a resource table: controls with ids and rectangles
// in dialog units. No Qt here, so programs keep their tables beside their
// logic; Dialog builds the window from it.
#include <string>
#include <vector>

namespace wb::gui {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdNone = -1;  // labels and frames that are never addressed

enum class ControlKind {
    Static,         // text label
    Edit,           // one-line edit, scrolls automatically
    PushButton,
    DefPushButton,  // the button that Enter presses
    CheckBox,       // automatic: a click toggles it
    AutoRadio,      // automatic: a click checks it and clears its group
    GroupBox,       // frame with a caption, drawn below the other controls
    ProgressBar,
    Icon            // the dialog's icon
};

enum ControlStyle : unsigned {
    kLeft = 0,
    kCenter = 1u << 0,
    kRight = 1u << 1,
    kGroup = 1u << 2  // a radio button that starts a new group
};

struct ControlTemplate {
    int id = kIdNone;
    ControlKind kind = ControlKind::Static;
    std::string text;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    unsigned style = kLeft;
};

struct DialogTemplate {
    std::string caption;
    std::string fontName;  // the design's face; mapped to a like one here
    int pointSize = 8;
    int cx = 0, cy = 0;    // client area in dialog units
    bool minimizeBox = false;
    std::vector<ControlTemplate> controls;
};

} // namespace wb::gui
