#include "platform/gui/Bitmap.h"

#include <QImage>

namespace wb::gui {

struct Bitmap::Data {
    QImage image;
};

Bitmap::Bitmap() : data_(std::make_unique<Data>()) {}
Bitmap::Bitmap(int width, int height, bool alpha) : data_(std::make_unique<Data>()) {
    data_->image = QImage(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    data_->image.fill(alpha ? 0xFF000000u : 0u);
}
Bitmap::~Bitmap() = default;
// Each bitmap has its own image; Qt shares the pixels until one is written.
Bitmap::Bitmap(const Bitmap& other) : data_(std::make_unique<Data>(*other.data_)) {}
Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this != &other) data_ = std::make_unique<Data>(*other.data_);
    return *this;
}

bool Bitmap::Empty() const { return data_->image.isNull(); }
int Bitmap::Width() const { return data_->image.width(); }
int Bitmap::Height() const { return data_->image.height(); }
// QImage detaches a shared copy before it hands out a row to write.
std::uint32_t* Bitmap::ScanLine(int y) { return reinterpret_cast<std::uint32_t*>(data_->image.scanLine(y)); }
const std::uint32_t* Bitmap::ScanLine(int y) const {
    return reinterpret_cast<const std::uint32_t*>(data_->image.constScanLine(y));
}

QImage& BitmapAccess::ToQImage(Bitmap& bitmap) { return bitmap.data_->image; }
const QImage& BitmapAccess::ToQImage(const Bitmap& bitmap) { return bitmap.data_->image; }

} // namespace wb::gui
