#include "tag_editor/controls/pictures/VlBitmap.h"

#include <algorithm>

#include "tag_editor/controls/pictures/VlBytes.h"

namespace velmora {

using wb::gui::BlueOf;
using wb::gui::GreenOf;
using wb::gui::RedOf;
using wb::gui::RGBColor;

int PixelFormatBits(TPixelFormat pf) {
    switch (pf) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return 0;
    }
}

static TPixelFormat FormatOfBits(int bits) {
    switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
    }
}

TBitmap::TBitmap(int width, int height, TPixelFormat pf) {
    int bits = PixelFormatBits(pf);
    if (bits == 0) throw EInvalidGraphic("Bitmap ist ungültig");
    if (width < 0 || height < 0) throw EInvalidGraphic("Bitmap ist ungültig");
    std::uint64_t stride = (std::uint64_t(width) * unsigned(bits) + 31) / 32 * 4;
    if (stride * std::uint64_t(height) > MaxBitmapBytes)
        throw EInvalidGraphic("Bitmap is too large");
    width_ = width;
    height_ = height;
    pf_ = pf;
    stride_ = std::size_t(stride);
    bits_.assign(stride_ * std::size_t(height), 0);
    if (bits <= 8) {
        unsigned n = 1u << bits;
        Palette.resize(n);
        for (unsigned i = 0; i < n; ++i) {
            auto v = std::uint8_t(i * 255 / (n - 1));
            Palette[i] = {v, v, v, 0};
        }
    }
}

unsigned TBitmap::PixelIndex(int x, int y) const {
    const std::uint8_t* row = ScanLine(y);
    switch (pf_) {
    case pf1bit: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case pf4bit: return (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4;
    case pf8bit: return row[x];
    default: return 0;
    }
}

void TBitmap::SetPixelIndex(int x, int y, unsigned index) {
    std::uint8_t* row = ScanLine(y);
    switch (pf_) {
    case pf1bit: {
        std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
        row[x >> 3] = std::uint8_t((index & 1) ? row[x >> 3] | bit : row[x >> 3] & ~bit);
        break;
    }
    case pf4bit:
        row[x >> 1] = std::uint8_t((x & 1) ? (row[x >> 1] & 0xF0) | (index & 15)
                                           : (row[x >> 1] & 0x0F) | ((index & 15) << 4));
        break;
    case pf8bit: row[x] = std::uint8_t(index); break;
    default: break;
    }
}

TColor TBitmap::Pixel(int x, int y) const {
    int bits = BitCount();
    if (bits == 24 || bits == 32) {
        const std::uint8_t* p = ScanLine(y) + std::size_t(x) * unsigned(bits / 8);
        return RGBColor(p[2], p[1], p[0]);
    }
    unsigned i = PixelIndex(x, y);
    if (i >= Palette.size()) return wb::gui::clBlack;
    return RGBColor(Palette[i].Red, Palette[i].Green, Palette[i].Blue);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    int bits = BitCount();
    if (bits == 24 || bits == 32) {
        std::uint8_t* p = ScanLine(y) + std::size_t(x) * unsigned(bits / 8);
        p[0] = std::uint8_t(BlueOf(std::uint32_t(color)));
        p[1] = std::uint8_t(GreenOf(std::uint32_t(color)));
        p[2] = std::uint8_t(RedOf(std::uint32_t(color)));
        return;
    }
    SetPixelIndex(x, y, NearestEntry(Palette, color));
}

unsigned NearestEntry(std::span<const TRGBQuad> table, TColor color) {
    int r = RedOf(std::uint32_t(color)), g = GreenOf(std::uint32_t(color)),
        b = BlueOf(std::uint32_t(color));
    unsigned best = 0;
    long bestDist = -1;
    for (unsigned i = 0; i < table.size(); ++i) {
        long dr = table[i].Red - r, dg = table[i].Green - g, db = table[i].Blue - b;
        long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return best;
}

void WriteBitmapFileHeader(std::uint8_t* p, std::uint32_t headerSize, std::uint32_t imageSize) {
    p[0] = 'B';
    p[1] = 'M';
    SetLE32(p + 2, 14 + headerSize + imageSize);
    SetLE32(p + 6, 0);
    SetLE32(p + 10, 14 + headerSize);
}

void WriteBitmapInfoHeader(std::uint8_t* p, const TBitmapInfoHeader& h) {
    SetLE32(p, 40);
    SetLE32(p + 4, std::uint32_t(h.Width));
    SetLE32(p + 8, std::uint32_t(h.Height));
    SetLE16(p + 12, h.Planes);
    SetLE16(p + 14, h.BitCount);
    SetLE32(p + 16, h.Compression);
    SetLE32(p + 20, h.SizeImage);
    SetLE32(p + 24, std::uint32_t(h.XPelsPerMeter));
    SetLE32(p + 28, std::uint32_t(h.YPelsPerMeter));
    SetLE32(p + 32, h.ClrUsed);
    SetLE32(p + 36, h.ClrImportant);
}

void WriteColourTable(std::uint8_t* p, const TRGBQuad* table, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        p[4 * i] = table[i].Blue;
        p[4 * i + 1] = table[i].Green;
        p[4 * i + 2] = table[i].Red;
        p[4 * i + 3] = table[i].Reserved;
    }
}

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
    const std::size_t tableBytes = Palette.size() * 4;
    const auto headerSize = std::uint32_t(40 + tableBytes);
    std::vector<std::uint8_t> out(14 + 40 + tableBytes + bits_.size());
    TBitmapInfoHeader h;
    h.Width = width_;
    h.Height = height_;
    h.BitCount = std::uint16_t(BitCount());
    h.SizeImage = std::uint32_t(bits_.size());
    WriteBitmapFileHeader(out.data(), headerSize, h.SizeImage);
    WriteBitmapInfoHeader(out.data() + 14, h);
    WriteColourTable(out.data() + 14 + 40, Palette.data(), Palette.size());
    std::copy(bits_.begin(), bits_.end(), out.begin() + std::ptrdiff_t(14 + 40 + tableBytes));
    return out;
}

void TBitmap::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    const char* bad = "Bitmap ist ungültig";
    if (size < 14 + 40 || data[0] != 'B' || data[1] != 'M') throw EInvalidGraphic(bad);
    std::uint32_t offset = GetLE32(data + 10);
    const std::uint8_t* h = data + 14;
    std::uint32_t headerSize = GetLE32(h);
    auto width = std::int32_t(GetLE32(h + 4));
    auto height = std::int32_t(GetLE32(h + 8));
    unsigned bits = GetLE16(h + 14);
    std::uint32_t compression = GetLE32(h + 16);
    std::uint32_t used = GetLE32(h + 32);
    TPixelFormat pf = FormatOfBits(int(bits));
    if (headerSize < 40 || compression != 0 || pf == pfCustom || width < 0 ||
        height == INT32_MIN)
        throw EInvalidGraphic(bad);
    bool topDown = height < 0;
    int rows = topDown ? -height : height;
    TBitmap b(width, rows, pf);  // bounds the size before anything is read
    std::uint64_t tableAt = 14 + std::uint64_t(headerSize);
    if (bits <= 8) {
        std::uint64_t entries = used ? used : (1u << bits);
        if (entries > (1u << bits)) throw EInvalidGraphic(bad);
        if (tableAt + entries * 4 > size) throw EInvalidGraphic(bad);
        for (std::uint64_t i = 0; i < entries; ++i) {
            const std::uint8_t* q = data + tableAt + i * 4;
            b.Palette[i] = {q[0], q[1], q[2], q[3]};
        }
        for (std::uint64_t i = entries; i < b.Palette.size(); ++i) b.Palette[i] = {};
    }
    if (std::uint64_t(offset) + b.bits_.size() > size) throw EInvalidGraphic(bad);
    if (topDown) {
        for (int y = 0; y < rows; ++y)
            std::memcpy(b.ScanLine(y), data + offset + std::size_t(y) * b.stride_, b.stride_);
    } else if (!b.bits_.empty()) {
        std::memcpy(b.bits_.data(), data + offset, b.bits_.size());
    }
    *this = std::move(b);
}

} // namespace velmora
