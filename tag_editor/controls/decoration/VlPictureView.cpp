#include "tag_editor/controls/decoration/VlPictureView.h"

namespace velmora {

wb::gui::Bitmap ToImage(const TBitmap& bitmap, TColor transparent) {
    wb::gui::Bitmap image(bitmap.Width(), bitmap.Height(), true);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* line = image.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixel(x, y);
            const auto u = std::uint32_t(c);
            const std::uint32_t alpha = c == transparent ? 0 : 255;
            line[x] = alpha << 24 | std::uint32_t(wb::gui::RedOf(u)) << 16 | std::uint32_t(wb::gui::GreenOf(u)) << 8 |
                      std::uint32_t(wb::gui::BlueOf(u));
        }
    }
    return image;
}

} // namespace velmora
