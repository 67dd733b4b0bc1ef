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

// A cursor over all of the program's windows while it is busy; each push is
// ended by one pop, the innermost first. A pop with none pushed does nothing.
void PushScreenCursor(CursorShape shape);
void PopScreenCursor();

} // namespace wb::gui
