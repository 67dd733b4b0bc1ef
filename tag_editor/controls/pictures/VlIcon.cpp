#include "tag_editor/controls/pictures/VlIcon.h"

#include "tag_editor/controls/pictures/VlBytes.h"

namespace velmora {

namespace {

const char* const kBadIcon = "Icon ist ungültig";

struct TIconImage {
    int Width = 0, Height = 0;
    std::size_t Offset = 0, Size = 0;
};

// The first directory entry of a checked icon file.
TIconImage FirstImage(const std::vector<std::uint8_t>& b) {
    TIconImage img;
    if (b.size() < 22) return img;
    const std::uint8_t* e = b.data() + 6;
    img.Width = e[0] ? e[0] : 256;
    img.Height = e[1] ? e[1] : 256;
    img.Size = GetLE32(e + 8);
    img.Offset = GetLE32(e + 12);
    return img;
}

} // namespace

void TIcon::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    if (size < 6 || GetLE16(data) != 0 || GetLE16(data + 2) != 1) throw EInvalidGraphic(kBadIcon);
    unsigned count = GetLE16(data + 4);
    if (count == 0 || 6 + std::uint64_t(count) * 16 > size) throw EInvalidGraphic(kBadIcon);
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* e = data + 6 + 16 * i;
        std::uint64_t bytes = GetLE32(e + 8), at = GetLE32(e + 12);
        if (bytes < 40 || at + bytes > size) throw EInvalidGraphic(kBadIcon);
    }
    bytes_.assign(data, data + size);
    if (OnChange) OnChange();
}

void TIcon::Assign(const TIcon& source) {
    if (&source == this) return;
    bytes_ = source.bytes_;
    if (OnChange) OnChange();
}

void TIcon::Clear() {
    bytes_.clear();
    if (OnChange) OnChange();
}

int TIcon::Width() const { return FirstImage(bytes_).Width; }
int TIcon::Height() const { return FirstImage(bytes_).Height; }

TBitmap TIcon::ToBitmap(TColor background) const {
    if (bytes_.empty()) return {};
    TIconImage img = FirstImage(bytes_);
    const std::uint8_t* p = bytes_.data() + img.Offset;
    const std::size_t size = img.Size;
    // A compressed (PNG) image is not drawn here.
    if (GetLE32(p) < 40 || GetLE32(p + 16) != 0) throw EInvalidGraphic(kBadIcon);
    auto w = std::int32_t(GetLE32(p + 4)), h2 = std::int32_t(GetLE32(p + 8));
    unsigned bits = GetLE16(p + 14);
    if (w <= 0 || w > 1024 || h2 <= 0 || h2 > 2048 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        throw EInvalidGraphic(kBadIcon);
    const int h = h2 / 2;
    std::uint64_t tableAt = GetLE32(p);
    std::uint64_t entries = bits <= 8 ? (GetLE32(p + 32) ? GetLE32(p + 32) : 1u << bits) : 0;
    if (entries > 256) throw EInvalidGraphic(kBadIcon);
    std::uint64_t xorAt = tableAt + entries * 4;
    std::uint64_t xorStride = (std::uint64_t(w) * bits + 31) / 32 * 4;
    std::uint64_t andAt = xorAt + xorStride * std::uint64_t(h);
    std::uint64_t andStride = (std::uint64_t(w) + 31) / 32 * 4;
    if (xorAt > size || andAt > size) throw EInvalidGraphic(kBadIcon);
    bool hasMask = andAt + andStride * std::uint64_t(h) <= size;
    TBitmap out(w, h, pf24bit);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = p + xorAt + std::size_t(h - 1 - y) * xorStride;
        const std::uint8_t* mask = p + andAt + std::size_t(h - 1 - y) * andStride;
        for (int x = 0; x < w; ++x) {
            TColor c;
            bool clear = hasMask && ((mask[x >> 3] >> (7 - (x & 7))) & 1);
            if (bits <= 8) {
                unsigned i = bits == 8 ? row[x] : bits == 4 ? (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15
                                                            : (row[x >> 3] >> (7 - (x & 7))) & 1;
                const std::uint8_t* q = p + tableAt + 4 * std::min<std::uint64_t>(i, entries - 1);
                c = wb::gui::RGBColor(q[2], q[1], q[0]);
            } else {
                const std::uint8_t* q = row + std::size_t(x) * (bits / 8);
                c = wb::gui::RGBColor(q[2], q[1], q[0]);
                if (bits == 32 && q[3] < 128) clear = true;
            }
            out.SetPixel(x, y, clear ? background : c);
        }
    }
    return out;
}

} // namespace velmora
