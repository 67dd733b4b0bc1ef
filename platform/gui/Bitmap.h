#pragma once
// A picture in memory that controls draw through a canvas and paint on with
// one: 32 bits a pixel, 0xAARRGGBB. Copies share their pixels until one is
// changed, so a picture is cheap to keep in a paint handler.
#include <cstdint>
#include <memory>

#include "platform/gui/Geometry.h"

class QImage;

namespace wb::gui {

class Bitmap {
public:
    Bitmap();
    // Black; with alpha, the alpha of each pixel counts when it is drawn.
    Bitmap(int width, int height, bool alpha = false);
    ~Bitmap();
    Bitmap(const Bitmap&);
    Bitmap& operator=(const Bitmap&);

    bool Empty() const;
    int Width() const;
    int Height() const;
    // Row y from the top, Width() pixels.
    std::uint32_t* ScanLine(int y);
    const std::uint32_t* ScanLine(int y) const;

private:
    friend struct BitmapAccess;
    struct Data;
    std::unique_ptr<Data> data_;
};

// The Qt image under a bitmap, for the layer's own sources.
struct BitmapAccess {
    static QImage& ToQImage(Bitmap& bitmap);
    static const QImage& ToQImage(const Bitmap& bitmap);
};

} // namespace wb::gui
