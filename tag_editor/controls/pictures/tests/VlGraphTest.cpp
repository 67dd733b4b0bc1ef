#include "tag_editor/controls/pictures/VlGraph.h"

#include <functional>
#include <gtest/gtest.h>

#include "tag_editor/controls/pictures/VlBytes.h"

using namespace velmora;
using wb::gui::RGBColor;

namespace {

using Bytes = std::vector<std::uint8_t>;

// One row of colours, left to right.
TBitmap Row(const std::vector<TColor>& colours) {
    TBitmap b(int(colours.size()), 1, pf24bit);
    for (std::size_t x = 0; x < colours.size(); ++x) b.SetPixel(int(x), 0, colours[x]);
    return b;
}

Bytes Table(const std::vector<TColor>& entries) {
    Bytes t;
    for (TColor c : entries) {
        auto u = std::uint32_t(c);
        t.insert(t.end(), {std::uint8_t(wb::gui::BlueOf(u)), std::uint8_t(wb::gui::GreenOf(u)),
                           std::uint8_t(wb::gui::RedOf(u)), 0});
    }
    while (t.size() < 1024) t.insert(t.end(), {128, 128, 128, 0});
    return t;
}

struct QuantizerCase {
    const char* name;
    std::function<TBitmap()> picture;
    std::function<std::vector<TColor>()> palette;   // the entries made, in order
    std::function<std::vector<int>(int width)> firstIndices;  // of the bottom row, or empty
};

class Quantizer : public testing::TestWithParam<QuantizerCase> {};

TEST_P(Quantizer, PaletteByteForByte) {
    const QuantizerCase& c = GetParam();
    TBitmap picture = c.picture();
    Bytes file = ConvertTo8Bit(picture, pf8bit, rmHistogram);
    ASSERT_EQ(GetLE16(file.data() + 28), 8);
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 54 + 1024), Table(c.palette()));
    std::vector<int> want = c.firstIndices(picture.Width());
    const std::uint8_t* row = file.data() + GetLE32(file.data() + 10);
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(row[i], want[i]) << "pixel " << i;
}

INSTANTIATE_TEST_SUITE_P(
    ColourReduction, Quantizer,
    testing::Values(
        // Most frequent first; equal counts in the order met from the bottom row.
        QuantizerCase{"FewColoursKeepEveryColour",
                      [] {
                          const TColor c1 = 0x010203, c2 = 0x040506, c3 = 0x070809, c4 = 0x0A0B0C, c5 = 0x0D0E0F;
                          TBitmap b(5, 3, pf24bit);
                          const TColor rows[3][5] = {{c1, c5, c5, c5, c5}, {c3, c4, c4, c4, c4}, {c1, c2, c2, c3, c3}};
                          for (int y = 0; y < 3; ++y)
                              for (int x = 0; x < 5; ++x) b.SetPixel(x, y, rows[y][x]);
                          return b;
                      },
                      [] { return std::vector<TColor>{0x0A0B0C, 0x0D0E0F, 0x070809, 0x010203, 0x040506}; },
                      [](int) { return std::vector<int>{3, 4, 4, 2, 2}; }},
        // 300 colours: the 44 rarest go to their nearest neighbour.
        QuantizerCase{"ThreeHundredColours",
                      [] {
                          std::vector<TColor> px;
                          for (int i = 0; i < 256; ++i) px.insert(px.end(), 2, RGBColor(i, 0, 0));
                          for (int k = 0; k < 44; ++k) px.push_back(RGBColor(k, 128, 0));
                          return Row(px);
                      },
                      [] {
                          std::vector<TColor> t;
                          for (int i = 0; i < 256; ++i) t.push_back(RGBColor(i, 0, 0));
                          return t;
                      },
                      [](int) {
                          std::vector<int> v;
                          for (int i = 0; i < 256; ++i) v.insert(v.end(), 2, i);
                          for (int k = 0; k < 44; ++k) v.push_back(k);
                          return v;
                      }},
        // 4096 colours: one bit of blue goes.
        QuantizerCase{"MoreThan2049ColoursLoseBlueFirst",
                      [] {
                          std::vector<TColor> px;
                          for (int i = 0; i < 4096; ++i) px.push_back(RGBColor(i / 256 * 16, 0, i % 256));
                          return Row(px);
                      },
                      [] {
                          std::vector<TColor> t;
                          for (int j = 0; j < 256; ++j) t.push_back(RGBColor(j / 128 * 16, 0, j % 128 * 2));
                          return t;
                      },
                      [](int) { return std::vector<int>{0, 0, 1, 1, 2}; }},
        // 8192 colours: blue and then red lose a bit.
        QuantizerCase{"StillTooManyColoursLoseRedNext",
                      [] {
                          std::vector<TColor> px;
                          for (int i = 0; i < 8192; ++i) px.push_back(RGBColor(i / 32, 0, i % 32));
                          return Row(px);
                      },
                      [] {
                          std::vector<TColor> t;
                          for (int j = 0; j < 256; ++j) t.push_back(RGBColor(j / 16 * 2, 0, j % 16 * 2));
                          return t;
                      },
                      [](int) { return std::vector<int>{0, 0, 1, 1}; }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- which file each conversion makes ----

struct ConversionCase {
    const char* name;
    std::function<TBitmap()> picture;
    std::function<Bytes(const TBitmap&)> convert;
    int bitCount;
    bool ownFile;  // the bitmap's own file, unchanged
};

class Conversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, MakesTheFileOfItsFormat) {
    const ConversionCase& c = GetParam();
    TBitmap picture = c.picture();
    Bytes file = c.convert(picture);
    EXPECT_EQ(GetLE16(file.data() + 28), c.bitCount);
    EXPECT_EQ(GetLE32(file.data() + 2), file.size());
    if (c.ownFile) {
        EXPECT_EQ(file, picture.SaveToBytes());
    }
    // Whatever the depth, the file reads back as the same picture where the
    // palette holds its colours.
    TBitmap back;
    back.LoadFromBytes(file.data(), file.size());
    EXPECT_EQ(back.Pixel(0, 0), picture.Pixel(0, 0));
    EXPECT_EQ(back.Pixel(1, 0), picture.Pixel(1, 0));
}

TBitmap TwoColours(TPixelFormat pf) {
    TBitmap b(2, 2, pf);
    b.SetPixel(0, 0, wb::gui::clBlack);
    b.SetPixel(1, 0, wb::gui::clWhite);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    ColourReduction, Conversion,
    testing::Values(
        ConversionCase{"SixteenColoursByThePlatform", [] { return TwoColours(pf24bit); },
                       [](const TBitmap& b) { return ConvertToColourCount(b, 16); }, 4, false},
        ConversionCase{"SeventeenColoursByTheQuantizer", [] { return TwoColours(pf24bit); },
                       [](const TBitmap& b) { return ConvertToColourCount(b, 17); }, 8, false},
        ConversionCase{"TwoColours", [] { return TwoColours(pf24bit); },
                       [](const TBitmap& b) { return ConvertToColourCount(b, 2); }, 1, false},
        ConversionCase{"MoreThan256ColoursOfA24BitBitmap", [] { return TwoColours(pf24bit); },
                       [](const TBitmap& b) { return ConvertToColourCount(b, 257); }, 24, true},
        ConversionCase{"EightBitsToEightBits", [] { return TwoColours(pf8bit); },
                       [](const TBitmap& b) { return ConvertTo8Bit(b, pf8bit, rmHistogram); }, 8, true},
        // A 24-bit target of another format is a true 24-bit copy.
        ConversionCase{"EightBitsToTwentyFour", [] { return TwoColours(pf8bit); },
                       [](const TBitmap& b) { return ConvertTo8Bit(b, pf24bit, rmHistogram); }, 24, false},
        ConversionCase{"FourBitsToTwentyFourInGrey", [] { return TwoColours(pf4bit); },
                       [](const TBitmap& b) { return ConvertTo8Bit(b, pf24bit, rmGreyLevels); }, 24, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColourReductionErrors, BadBitmapsAndUnknownFormats) {
    auto message = [](std::function<void()> f) -> std::string {
        try {
            f();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    };
    EXPECT_EQ(message([] { ConvertTo8Bit(TBitmap(), pf8bit); }), "Bitmap ist ungültig");
    EXPECT_EQ(message([] { BitmapToDibBlock(TBitmap(), nullptr, pf4bit); }), "Bitmap ist ungültig");
    // Pixels that cannot be read give the error, not a black picture.
    TBitmap broken = TwoColours(pf24bit);
    broken.Bits().resize(3);
    EXPECT_EQ(message([&] { ConvertTo8Bit(broken, pf8bit); }), "Bitmap ist ungültig");
    EXPECT_EQ(message([&] { ConvertTo8Bit(broken, pf4bit); }), "Bitmap ist ungültig");
    EXPECT_EQ(message([] { ConvertTo8Bit(TwoColours(pf24bit), pf15bit); }), "Function not yet implemented");
    EXPECT_EQ(ScanLineBytes(10, 24, 32), 32);
    EXPECT_EQ(AlignedRowBytes(1), 4);
}

// ---- the fixed palettes ----

struct LevelCase {
    const char* name;
    TReductionMethod method;
    int x;  // in a row of two pixels
    TColor colour, entry;
    int index;
};

class FixedPalettes : public testing::TestWithParam<LevelCase> {};

TEST_P(FixedPalettes, PixelAndEntry) {
    const LevelCase& c = GetParam();
    Bytes file = ConvertTo8Bit(Row({c.colour, c.colour}), pf8bit, c.method);
    const std::uint8_t* row = file.data() + GetLE32(file.data() + 10);
    EXPECT_EQ(row[c.x], c.index);
    const std::uint8_t* e = file.data() + 54 + 4 * c.index;
    EXPECT_EQ(RGBColor(e[2], e[1], e[0]), c.entry);
}

INSTANTIATE_TEST_SUITE_P(
    ColourReduction, FixedPalettes,
    testing::Values(LevelCase{"SixLevels", rmLevels666, 0, RGBColor(255, 0, 51), RGBColor(255, 0, 51), 181},
                    LevelCase{"SevenEightFour", rmLevels784, 0, RGBColor(130, 215, 90), RGBColor(128, 219, 85), 121},
                    LevelCase{"TieGoesToTheLowerLevel", rmLevels784, 0, RGBColor(64, 0, 0), RGBColor(43, 0, 0), 32},
                    LevelCase{"GreyLevels", rmGreyLevels, 0, RGBColor(100, 150, 200), RGBColor(140, 140, 140), 140},
                    LevelCase{"RampRedAtTheDiagonal", rmChannelRamps, 0, RGBColor(200, 100, 40), RGBColor(200, 0, 0), 50},
                    LevelCase{"RampGreenNext", rmChannelRamps, 1, RGBColor(200, 100, 40), RGBColor(0, 100, 0), 89},
                    LevelCase{"MedianCutOfOneColour", rmMedianCut, 1, RGBColor(0x34, 0x56, 0x78),
                              RGBColor(0x33, 0x55, 0x77), 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
