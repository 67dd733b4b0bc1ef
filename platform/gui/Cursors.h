#pragma once
// The screen's cursor table: numbered cursors a program registers at start
// and its controls then show by number.
#include <optional>

namespace wb::gui {

class WidgetControl;

enum class CursorShape { Arrow, Hand, DragHand, Wait, IBeam, Cross };

void RegisterCursor(int id, CursorShape shape);
std::optional<CursorShape> RegisteredCursor(int id);
// Shows the registered cursor over the control; an unknown number shows the arrow.
void SetControlCursor(WidgetControl& control, int id);

// The wait cursor over every window while it lives, also when what it
// waits for throws; instances nest.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace wb::gui
