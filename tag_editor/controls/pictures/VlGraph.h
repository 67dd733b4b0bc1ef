#pragma once
// Bitmap files in memory at 1, 4, 8 or 24 bits per pixel, made from a bitmap
// of any format, and the colour reductions that bring a picture down to a
// palette: a histogram quantizer of fixed size (it coarsens the colours it
// counts rather than growing), a median cut, fixed level palettes, channel
// ramps and grey levels.
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "tag_editor/controls/pictures/VlBitmap.h"

namespace velmora {

// The library's refusal of something it does not do.
class ENotImplemented : public std::runtime_error {
public:
    ENotImplemented() : std::runtime_error("Function not yet implemented") {}
};

enum TReductionMethod : std::uint8_t {
    rmHistogram = 0, rmMedianCut = 1, rmLevels784 = 2, rmLevels666 = 3, rmChannelRamps = 4,
    rmGreyLevels = 5
};

inline constexpr TReductionMethod DefaultReductionMethod = rmHistogram;

int AlignedRowBytes(int bits);
int PixelFormatColors(TPixelFormat pf);
inline TPixelFormat GetBitmapPixelFormat(const TBitmap& bitmap) { return bitmap.PixelFormat(); }
int ScanLineBytes(int pixels, int bits, int alignment);

[[noreturn]] void RaiseBadBitmap();

// An empty bitmap stands for one without a handle: it raises the invalid-bitmap error.
void FillDibHeader(const TBitmap& bitmap, TBitmapInfoHeader& header, TPixelFormat pf);
void DibFileSizes(const TBitmap& bitmap, std::uint32_t& headerSize, std::uint32_t& imageSize,
                  TPixelFormat pf);
// Copies the picture in the header's format: table (2^bits entries, for up
// to 8 bits) and rows. The table is the palette given, else the bitmap's own
// when it fits, else the standard one of that depth; pixels take the nearest
// entry. False when the bitmap's pixels cannot be read.
bool ReadDibBits(const TBitmap& bitmap, const std::vector<TRGBQuad>* palette,
                 TBitmapInfoHeader& header, TPixelFormat pf, TRGBQuad* table, std::uint8_t* bits);
// A whole bitmap file; a bitmap whose pixels cannot be read raises the
// invalid-bitmap error rather than giving a black picture.
std::vector<std::uint8_t> BitmapToDibBlock(const TBitmap& bitmap,
                                           const std::vector<TRGBQuad>* palette, TPixelFormat pf);

// A bitmap file of the wanted format. A 24-bit target is a true 24-bit copy.
std::vector<std::uint8_t> ConvertTo8Bit(const TBitmap& bitmap, TPixelFormat pf,
                                        TReductionMethod method = DefaultReductionMethod);
std::vector<std::uint8_t> ConvertToColourCount(const TBitmap& bitmap, int colours);

// The histogram quantizer over 24-bit rows (bottom-up, padded to 4 bytes).
// Fills all 256 entries of the table and writes 8-bit rows to out, which may
// be the source buffer itself. Returns the number of palette entries made.
int ReduceToPalette(const TBitmapInfoHeader& header, TRGBQuad* table, const std::uint8_t* bits,
                    std::uint8_t redMask, std::uint8_t greenMask, std::uint8_t blueMask,
                    int wanted, std::uint8_t* out);

} // namespace velmora
