#include "tag_editor/controls/VlQtImage.h"

namespace velmora {

QImage ToQImage(const TBitmap& bitmap, TColor transparent) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.Width(); ++x) {
            TColor c = bitmap.Pixel(x, y);
            auto u = std::uint32_t(c);
            int alpha = c == transparent ? 0 : 255;
            line[x] = qRgba(wb::gui::RedOf(u), wb::gui::GreenOf(u), wb::gui::BlueOf(u), alpha);
        }
    }
    return image;
}

} // namespace velmora
