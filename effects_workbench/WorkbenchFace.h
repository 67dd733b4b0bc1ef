#pragma once
// The pictures of the workbench window, drawn at any size.
namespace wb::gui {
class Canvas;
}

namespace sonafex {

// A brushed silver face with a raised panel for each group of controls.
void PaintFace(wb::gui::Canvas& c, int w, int h);
// Shown while no file is: a scope with a softly clipped wave.
void PaintDervo(wb::gui::Canvas& c, int w, int h);

} // namespace sonafex
