#pragma once
// Serving the windows while long work holds the GUI thread, without Qt.

namespace wb::gui {

// Handles what is waiting for the windows now (paints, timers, moves, the
// desktop's requests) and returns without waiting for more. Long work on
// the GUI thread calls it at short intervals so that no window looks hung.
// Does nothing when no application object exists.
void ServeWindows();

} // namespace wb::gui
