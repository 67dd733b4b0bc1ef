#pragma once
// The pictures that Velmora's windows show, held as GIF data of our own and
// loaded through the GIF image class like any stored picture.
#include <cstdint>
#include <vector>

#include "tag_editor/controls/pictures/VlGIF.h"

namespace velmora {

// Loads the Info tab's picture into the image, its frame decoded; the window
// draws the image's Bitmap().
void LoadInfoPicture(TGIFImage& image);

} // namespace velmora
