#pragma once
// Shows a bitmap of the picture classes through Qt.
#include <QImage>

#include "tag_editor/controls/VlBitmap.h"

namespace velmora {

// A 32-bit image of the bitmap; with transparent set, pixels of the
// transparent colour become fully transparent.
QImage ToQImage(const TBitmap& bitmap, TColor transparent = wb::gui::clNone);

} // namespace velmora
