#pragma once
// A device-independent bitmap held in memory, with no window system behind
// it: a pixel format, a colour table for 1, 4 and 8 bits, and the rows
// bottom-up, each padded to 4 bytes, exactly as a bitmap file stores them. The
// picture codecs read and write it; VlPictureView turns it into a bitmap to show.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gui/Colors.h"

namespace velmora {

using wb::gui::TColor;

enum TPixelFormat : std::uint8_t {
    pfDevice = 0, pf1bit = 1, pf4bit = 2, pf8bit = 3, pf15bit = 4, pf16bit = 5, pf24bit = 6,
    pf32bit = 7, pfCustom = 8
};

struct TRGBQuad {
    std::uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
    bool operator==(const TRGBQuad&) const = default;
};

// The information header of a bitmap file.
struct TBitmapInfoHeader {
    std::uint32_t Size = 40;
    std::int32_t Width = 0, Height = 0;
    std::uint16_t Planes = 1, BitCount = 0;
    std::uint32_t Compression = 0, SizeImage = 0;
    std::int32_t XPelsPerMeter = 0, YPelsPerMeter = 0;
    std::uint32_t ClrUsed = 0, ClrImportant = 0;
};

// The framework's graphic error, raised for pictures that cannot be made or read.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int PixelFormatBits(TPixelFormat pf);  // 1, 4, 8, 24, 32; 0 for the others

// A picture of more bytes than this is refused before anything is allocated,
// so a size field in a damaged file cannot exhaust memory.
constexpr std::uint64_t MaxBitmapBytes = std::uint64_t(1) << 28;

class TBitmap {
public:
    TBitmap() = default;
    // Zero-filled rows; 1, 4 and 8 bits get a grey ramp as their colour table.
    // Throws EInvalidGraphic for a format other than 1, 4, 8, 24 or 32 bits, a
    // negative size or more than MaxBitmapBytes.
    TBitmap(int width, int height, TPixelFormat pf);

    bool Empty() const { return width_ == 0 || height_ == 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    TPixelFormat PixelFormat() const { return pf_; }
    int BitCount() const { return PixelFormatBits(pf_); }
    std::size_t Stride() const { return stride_; }

    std::vector<TRGBQuad> Palette;  // 2^bits entries for 1, 4 and 8 bits, else empty
    bool Monochrome() const { return pf_ == pf1bit; }
    TColor TransparentColor = wb::gui::clNone;
    bool Transparent = false;

    // Row y counted from the top of the picture.
    std::uint8_t* ScanLine(int y) { return bits_.data() + std::size_t(height_ - 1 - y) * stride_; }
    const std::uint8_t* ScanLine(int y) const {
        return bits_.data() + std::size_t(height_ - 1 - y) * stride_;
    }
    std::vector<std::uint8_t>& Bits() { return bits_; }
    const std::vector<std::uint8_t>& Bits() const { return bits_; }

    // Colour index at (x, y) for 1, 4 and 8 bits, 0 for the others.
    unsigned PixelIndex(int x, int y) const;
    void SetPixelIndex(int x, int y, unsigned index);
    // The colour (0x00BBGGRR) at (x, y), through the colour table when there is one.
    TColor Pixel(int x, int y) const;
    // 24 and 32 bits store the colour; the indexed formats store the nearest table entry.
    void SetPixel(int x, int y, TColor color);

    // A whole bitmap file: file header, 40-byte information header, colour
    // table, rows.
    std::vector<std::uint8_t> SaveToBytes() const;
    // Reads an uncompressed bitmap file of 1, 4, 8, 24 or 32 bits (rows
    // bottom-up or top-down). Anything else, or sizes beyond the bytes given,
    // raise EInvalidGraphic and leave the bitmap as it was.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);

private:
    int width_ = 0, height_ = 0;
    TPixelFormat pf_ = pfDevice;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> bits_;
};

// The index of the table entry nearest to the colour (sum of squared channel
// differences; the lower index on a tie).
unsigned NearestEntry(std::span<const TRGBQuad> table, TColor color);

// The parts of a bitmap file, each written at p: the 14-byte file header
// (information header and colour table take headerSize bytes, the rows
// imageSize), the 40-byte information header, and the colour table.
void WriteBitmapFileHeader(std::uint8_t* p, std::uint32_t headerSize, std::uint32_t imageSize);
void WriteBitmapInfoHeader(std::uint8_t* p, const TBitmapInfoHeader& h);
void WriteColourTable(std::uint8_t* p, const TRGBQuad* table, std::size_t count);

} // namespace velmora
