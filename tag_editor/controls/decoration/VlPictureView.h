#pragma once
// Shows a bitmap of the picture classes through the window layer.
#include "platform/gui/Bitmap.h"
#include "tag_editor/controls/pictures/VlBitmap.h"

namespace velmora {

// A 32-bit image of the bitmap; with transparent set, pixels of the
// transparent colour become fully transparent.
wb::gui::Bitmap ToImage(const TBitmap& bitmap, TColor transparent = wb::gui::clNone);

} // namespace velmora
