#pragma once
// The screen as the window layer sees it, without Qt.
#include "platform/gui/WinMsg.h"

namespace wb::gui {

struct ScreenMetrics {
    int width = 0, height = 0;  // the primary screen in pixels
    int pixelsPerInch = 96;
    Rect workArea;               // the part windows may use
};
// Zeros and 96 pixels per inch when no GUI application runs.
ScreenMetrics Screen();

// The rows one notch of the mouse wheel scrolls, as the desktop sets it.
int WheelScrollLines();

// Makes the process's application object, titled with the program's name,
// when there is none yet (for tests and tools that make none of their own).
void EnsureGuiApplication();

} // namespace wb::gui
