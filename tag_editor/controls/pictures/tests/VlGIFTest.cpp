#include "tag_editor/controls/pictures/VlGIF.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <gtest/gtest.h>

#include "platform/base/TempDir.h"
#include "tag_editor/controls/pictures/VlBytes.h"
#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

namespace {

using Bytes = std::vector<std::uint8_t>;

void WriteFile(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void RunTool(const std::string& command) {
    ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
}

TPixelFormat FormatOf(int bits) { return bits == 1 ? pf1bit : bits == 4 ? pf4bit : pf8bit; }

// A bitmap of random indices over a table of distinct random colours.
TBitmap RandomBitmap(int bits, int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    TBitmap b(w, h, FormatOf(bits));
    std::map<TColor, bool> used;
    for (auto& q : b.Palette) {
        do q = {std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng()), 0};
        while (used[wb::gui::RGBColor(q.Red, q.Green, q.Blue)]);
        used[wb::gui::RGBColor(q.Red, q.Green, q.Blue)] = true;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelIndex(x, y, rng() % (1u << bits));
    return b;
}

// The picture as the tools print it: red, green, blue per pixel, top row first.
Bytes Rgb(const TBitmap& b) {
    Bytes out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            auto c = std::uint32_t(b.Pixel(x, y));
            out.insert(out.end(), {std::uint8_t(wb::gui::RedOf(c)), std::uint8_t(wb::gui::GreenOf(c)),
                                   std::uint8_t(wb::gui::BlueOf(c))});
        }
    return out;
}

Bytes Encode(const TBitmap& b) {
    TGIFImage gif;
    gif.AddFrame(b);
    return gif.SaveToBytes();
}

TBitmap Decode(const Bytes& file, bool* corrupted = nullptr) {
    TGIFImage gif;
    gif.LoadFromBytes(file);
    TBitmap b = gif.Bitmap();
    if (corrupted) *corrupted = gif.Frames(0).Corrupted;
    return b;
}

// ---- round trips through our encoder, read back by us and by both tools ----

struct RoundTripCase {
    const char* name;
    int bits, width, height;
};

class GifRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(GifRoundTrip, OurFileDecodesToTheSamePixelsHereAndInBothTools) {
    const RoundTripCase& c = GetParam();
    TBitmap original = RandomBitmap(c.bits, c.width, c.height, unsigned(c.width * 31 + c.bits));
    Bytes file = Encode(original);
    bool corrupted = true;
    TBitmap back = Decode(file, &corrupted);
    EXPECT_FALSE(corrupted);
    ASSERT_EQ(back.Width(), c.width);
    ASSERT_EQ(back.Height(), c.height);
    EXPECT_EQ(back.Bits(), original.Bits());
    EXPECT_EQ(Rgb(back), Rgb(original));

    wb::TempDir dir("gif");
    WriteFile(dir / "our.gif", file);
    RunTool("convert " + dir / "our.gif" + " rgb:" + dir / "magick.rgb");
    EXPECT_EQ(ReadFile(dir / "magick.rgb"), Rgb(original)) << "ImageMagick";
    RunTool("gif2rgb -1 -o " + dir / "giflib.rgb" + " " + dir / "our.gif");
    EXPECT_EQ(ReadFile(dir / "giflib.rgb"), Rgb(original)) << "giflib";
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, GifRoundTrip,
    testing::Values(RoundTripCase{"OneBitOnePixel", 1, 1, 1}, RoundTripCase{"OneBitOddWidth", 1, 37, 11},
                    RoundTripCase{"FourBitOddWidth", 4, 5, 3}, RoundTripCase{"FourBitSquare", 4, 64, 64},
                    RoundTripCase{"EightBitOnePixel", 8, 1, 1},
                    RoundTripCase{"EightBitManyTableClears", 8, 300, 200},
                    RoundTripCase{"FourBitManyTableClears", 4, 640, 480}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- files made by the tools, decoded to the pixels they were made from ----

struct ToolCase {
    const char* name;
    bool giflib;  // else ImageMagick
    int bits, width, height;
    bool interlaced;
};

class GifFromTools : public testing::TestWithParam<ToolCase> {};

TEST_P(GifFromTools, DecodesToThePixelsTheFileWasMadeFrom) {
    const ToolCase& c = GetParam();
    TBitmap source = RandomBitmap(c.bits, c.width, c.height, unsigned(c.height * 7 + c.bits));
    wb::TempDir dir("gif");
    if (c.giflib) {
        // giflib's own text description: the colour map and hex pixels.
        std::string text = "screen width " + std::to_string(c.width) + "\nscreen height " +
                           std::to_string(c.height) + "\nscreen colors " + std::to_string(1 << c.bits) +
                           "\nscreen background 0\npixel aspect byte 0\n\nscreen map\n\tsort flag off\n";
        char line[64];
        for (std::size_t i = 0; i < source.Palette.size(); ++i) {
            const TRGBQuad& q = source.Palette[i];
            std::snprintf(line, sizeof line, "\trgb %03d %03d %03d is %zu\n", q.Red, q.Green, q.Blue, i);
            text += line;
        }
        text += "end\n\nimage # 1\nimage left 0\nimage top 0\n";
        if (c.interlaced) text += "image interlaced\n";
        text += "image bits " + std::to_string(c.width) + " by " + std::to_string(c.height) + " hex\n";
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                std::snprintf(line, sizeof line, "%02x", source.PixelIndex(x, y));
                text += line;
            }
            text += "\n";
        }
        std::ofstream(dir / "in.txt") << text;
        RunTool("gifbuild " + dir / "in.txt" + " > " + dir / "tool.gif");
    } else {
        WriteFile(dir / "in.rgb", Rgb(source));
        RunTool("convert -size " + std::to_string(c.width) + "x" + std::to_string(c.height) + " -depth 8 rgb:" +
            dir / "in.rgb" + (c.interlaced ? " -interlace GIF " : " ") + dir / "tool.gif");
    }
    TGIFImage gif;
    gif.LoadFromBytes(ReadFile(dir / "tool.gif"));
    ASSERT_EQ(gif.Count(), 1);
    EXPECT_EQ(gif.Frames(0).Interlaced, c.interlaced);
    EXPECT_FALSE(gif.Frames(0).Corrupted);
    EXPECT_EQ(Rgb(gif.Bitmap()), Rgb(source));
    // Written again without drawing, the image data stays byte for byte.
    TGIFImage reread;
    Bytes again = gif.SaveToBytes();
    reread.LoadFromBytes(again.data(), again.size(), false);
    EXPECT_EQ(reread.Frames(0).Item()->Data, gif.Frames(0).Item()->Data);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, GifFromTools,
    testing::Values(ToolCase{"GiflibOneBit", true, 1, 23, 9, false},
                    ToolCase{"GiflibFourBitInterlaced", true, 4, 31, 29, true},
                    ToolCase{"GiflibEightBit", true, 8, 200, 150, false},
                    ToolCase{"GiflibEightBitInterlaced", true, 8, 17, 3, true},
                    ToolCase{"MagickOneBit", false, 1, 40, 10, false},
                    ToolCase{"MagickFourBit", false, 4, 33, 21, false},
                    ToolCase{"MagickEightBitInterlaced", false, 8, 250, 120, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- a two-frame file of the tool's, cut off after every length ----

// The part of a GIF file that the first byte a cut leaves out belongs to.
enum TPart {
    ptNothing,  // no byte at all
    ptSignature,
    ptScreen,  // screen descriptor and global colour table
    ptBlockStart,  // "!", "," or the trailer
    ptExtensionFixed,  // label and fixed part
    ptExtensionSubBlocks,
    ptImageDescriptor,
    ptLocalTable,
    ptCodeSize,
    ptSubBlockLength,  // of the image data, the terminator included
    ptInsideSubBlock,
};

struct TCut {
    TPart part;
    int frames;  // frames whole before it
};

// Every offset of a file with its part, walked by the format's block layout.
std::vector<TCut> Parts(const Bytes& f) {
    std::vector<TCut> at;
    int frames = 0;
    auto mark = [&](std::size_t n, TPart part) { at.insert(at.end(), n, TCut{part, frames}); };
    auto table = [](std::uint8_t packed) { return (packed & 0x80) ? 3u << ((packed & 7) + 1) : 0u; };
    auto subBlocks = [&](TPart length, TPart inside) {
        for (std::size_t n; (n = f.at(at.size())) != 0; mark(n, inside)) mark(1, length);
        mark(1, length);
    };
    mark(1, ptNothing);
    mark(5, ptSignature);
    mark(7 + table(f[10]), ptScreen);
    while (f.at(at.size()) != ';') {
        const bool extension = f[at.size()] == '!';
        mark(1, ptBlockStart);
        if (extension) {
            const std::uint8_t label = f.at(at.size());
            mark(1 + (label == 0xF9 ? 6 : label == 0x01 ? 13 : label == 0xFF ? 12 : 0), ptExtensionFixed);
            if (label != 0xF9) subBlocks(ptExtensionSubBlocks, ptExtensionSubBlocks);
        } else {
            const std::uint8_t packed = f.at(at.size() + 8);
            mark(9, ptImageDescriptor);
            mark(table(packed), ptLocalTable);
            mark(1, ptCodeSize);
            subBlocks(ptSubBlockLength, ptInsideSubBlock);
            ++frames;
        }
    }
    mark(1, ptBlockStart);
    return at;
}

struct CutCase {
    const char* name;
    TPart part;
    const char* error;  // "" when the file loads
    const char* errorWhenDamageRefused;
    bool frameBegunStays, corrupted;
};

// Red, then blue from a table of its own, in a loop; made by
// convert -size 3x2 xc:red xc:blue -loop 0.
const Bytes& TwoFrames() {
    static const Bytes file = ReadFile(WB_SOURCE_DIR "/tag_editor/controls/pictures/tests/data/two-frames.gif");
    return file;
}

class GifCut : public testing::TestWithParam<CutCase> {};

TEST_P(GifCut, FailsOrLoadsByThePartItEndsIn) {
    const CutCase& c = GetParam();
    const Bytes& whole = TwoFrames();
    const std::vector<TCut> parts = Parts(whole);
    ASSERT_EQ(parts.size(), whole.size());
    TGIFImage full;
    full.LoadFromBytes(whole);
    ASSERT_EQ(full.Count(), 2);
    struct Restore {
        ~Restore() { AcceptCorruptGif = true; }
    } restore;
    int cuts = 0;
    for (bool accept : {true, false}) {
        AcceptCorruptGif = accept;
        for (std::size_t n = 0; n < whole.size(); ++n) {
            if (parts[n].part != c.part) continue;
            ++cuts;
            SCOPED_TRACE(std::to_string(n) + " bytes, damage " + (accept ? "accepted" : "refused"));
            const std::string error = accept ? c.error : c.errorWhenDamageRefused;
            TGIFImage gif;
            // Reading alone: decoding the first frame has rules of its own.
            EXPECT_EQ(wb::gui::test::ErrorOf<std::exception>([&] { gif.LoadFromBytes(whole.data(), n, false); }),
                      error);
            const int before = parts[n].frames;
            const bool begun = error.empty() && c.frameBegunStays;
            ASSERT_EQ(gif.Count(), before + (begun ? 1 : 0));
            for (int i = 0; i < before; ++i) {
                EXPECT_FALSE(gif.Frames(i).Corrupted);
                EXPECT_EQ(Rgb(gif.Frames(i).Bitmap()), Rgb(full.Frames(i).Bitmap())) << "frame " << i;
            }
            if (begun) {
                EXPECT_EQ(gif.Frames(before).Corrupted, c.corrupted);
            }
        }
    }
    EXPECT_GT(cuts, 0) << "the file has no such part";
}

const char* const kReadError = "Stream-Read-Fehler";

INSTANTIATE_TEST_SUITE_P(
    Pictures, GifCut,
    testing::Values(CutCase{"EmptyFile", ptNothing, "", "", false, false},
                    CutCase{"InTheSignature", ptSignature, "Unknown GIF version", "Unknown GIF version", false, false},
                    CutCase{"InTheScreenDescriptorOrGlobalTable", ptScreen, kReadError, kReadError, false, false},
                    CutCase{"BeforeABlock", ptBlockStart, "", "", false, false},
                    CutCase{"InAnExtensionsFixedPart", ptExtensionFixed, kReadError, kReadError, false, false},
                    CutCase{"InAnExtensionsSubBlocks", ptExtensionSubBlocks, "", "", false, false},
                    CutCase{"InAnImageDescriptor", ptImageDescriptor, kReadError, kReadError, false, false},
                    CutCase{"InALocalTable", ptLocalTable, kReadError, kReadError, false, false},
                    CutCase{"BeforeTheCodeSize", ptCodeSize, kReadError, kReadError, false, false},
                    CutCase{"BetweenDataSubBlocks", ptSubBlockLength, "", "", true, false},
                    CutCase{"InsideADataSubBlock", ptInsideSubBlock, "", kReadError, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- LZW corner cases from hand-made code streams ----

// Packs codes of the given widths into data sub-blocks after the minimum code size.
Bytes PackCodes(int minSize, const std::vector<std::pair<int, int>>& codes, bool terminate = true) {
    Bytes packed;
    std::uint32_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
        acc |= std::uint32_t(code) << bits;
        bits += width;
        while (bits >= 8) {
            packed.push_back(std::uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits) packed.push_back(std::uint8_t(acc));
    Bytes out{std::uint8_t(minSize)};
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        std::size_t n = std::min<std::size_t>(255, packed.size() - at);
        out.push_back(std::uint8_t(n));
        out.insert(out.end(), packed.begin() + std::ptrdiff_t(at), packed.begin() + std::ptrdiff_t(at + n));
    }
    if (terminate) out.push_back(0);
    return out;
}

struct LzwCase {
    const char* name;
    int bitsPerPixel, width;
    std::vector<std::pair<int, int>> codes;  // minimum code size 2: clear 4, end 5
    std::vector<unsigned> pixels;  // row by row from the top
    bool corrupted;
    int height = 1;
    bool interlaced = false;
};

// Six strings of 12 pixels, 1 3 1 3 3 1 3 1 3 1 3 3, the fifth from the code
// being made (9) and the codes widening to 4 bits on the way.
const std::vector<std::pair<int, int>> kSixStrings{{4, 3}, {1, 3}, {3, 3}, {6, 3}, {7, 4}, {9, 4}, {8, 4}};

std::vector<std::pair<int, int>> WithEnd(std::vector<std::pair<int, int>> codes) {
    codes.push_back({5, 4});
    return codes;
}

class GifLzw : public testing::TestWithParam<LzwCase> {};

TEST_P(GifLzw, DecodesOrReportsDamage) {
    const LzwCase& c = GetParam();
    TBitmap b(c.width, c.height, c.bitsPerPixel == 1 ? pf1bit : c.bitsPerPixel <= 4 ? pf4bit : pf8bit);
    Bytes data = PackCodes(2, c.codes);
    EXPECT_EQ(GifLzwDecode(data, b, c.bitsPerPixel, c.interlaced), c.corrupted);
    std::vector<unsigned> got;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) got.push_back(b.PixelIndex(x, y));
    EXPECT_EQ(got, c.pixels);

    TAcceptCorruptGifScope refuse(false);
    if (c.corrupted)
        EXPECT_THROW(GifLzwDecode(data, b, c.bitsPerPixel, c.interlaced), EInvalidGraphicOperation);
    else
        EXPECT_NO_THROW(GifLzwDecode(data, b, c.bitsPerPixel, c.interlaced));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, GifLzw,
    testing::Values(
        LzwCase{"Plain", 2, 3, {{4, 3}, {1, 3}, {2, 3}, {3, 3}, {5, 3}}, {1, 2, 3}, false},
        LzwCase{"StringOfTheCodeNotYetMade", 2, 4, {{4, 3}, {1, 3}, {6, 3}, {5, 3}}, {1, 1, 1, 0}, false},
        // Taken as the next free code, and decoding goes on.
        LzwCase{"CodePastTheNextFreeCode", 2, 5, {{4, 3}, {1, 3}, {7, 3}, {2, 3}, {5, 4}}, {1, 1, 1, 2, 0}, false},
        LzwCase{"FirstCodeWithoutPreviousString", 2, 3, {{4, 3}, {6, 3}, {1, 3}}, {0, 0, 0}, true},
        LzwCase{"StringCodeAtTheVeryStart", 2, 3, {{6, 3}, {1, 3}}, {0, 0, 0}, true},
        LzwCase{"StringCodeRightAfterAClear", 2, 4, {{4, 3}, {1, 3}, {4, 3}, {6, 3}}, {1, 0, 0, 0}, true},
        // A one-bit frame with the smallest code size: 2 and 3 are still
        // pixel codes (masked to the frame's bit), not table entries.
        LzwCase{"LiteralAboveThePixelMask", 1, 3, {{4, 3}, {3, 3}, {2, 3}, {1, 3}, {5, 4}}, {1, 0, 1}, false},
        LzwCase{"DataEndsBeforeThePicture", 2, 4, {{4, 3}, {1, 3}}, {1, 0, 0, 0}, true},
        LzwCase{"EndCodeBeforeThePicture", 2, 4, {{4, 3}, {2, 3}, {5, 3}}, {2, 0, 0, 0}, false},
        LzwCase{"NoEndCodeAfterTheLastRow", 2, 2, {{4, 3}, {3, 3}, {3, 3}}, {3, 3}, false},
        LzwCase{"EightBitStringAcrossARowEnd", 8, 3, WithEnd(kSixStrings),
                {1, 3, 1, 3, 3, 1, 3, 1, 3, 1, 3, 3}, false, 4},
        LzwCase{"EightBitCodeBeingMadeAcrossARowEnd", 8, 4, WithEnd(kSixStrings),
                {1, 3, 1, 3, 3, 1, 3, 1, 3, 1, 3, 3}, false, 3},
        LzwCase{"EightBitStringCutAtThePictureEnd", 8, 5, kSixStrings, {1, 3, 1, 3, 3, 1, 3, 1, 3, 1}, false, 2},
        // Rows in file order 0, 4, 2, 1, 3, 5.
        LzwCase{"EightBitInterlacedAcrossRowEnds", 8, 2, WithEnd(kSixStrings),
                {1, 3, 3, 1, 3, 1, 3, 1, 1, 3, 3, 3}, false, 6, true},
        // Rows in file order 0, 2, 1, 3.
        LzwCase{"FourBitInterlaced", 4, 3, WithEnd(kSixStrings),
                {1, 3, 1, 3, 1, 3, 3, 3, 1, 1, 3, 3}, false, 4, true},
        LzwCase{"FourBitOddRowsDataEndsInARow", 2, 5, kSixStrings,
                {1, 3, 1, 3, 3, 1, 3, 1, 3, 1, 3, 3, 0, 0, 0}, true, 3},
        LzwCase{"OneBitRowsMaskedAndEndCodeInARow", 1, 5, WithEnd(kSixStrings),
                {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0}, false, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// Progress while decoding: 0 at the start, then percents that only rise,
// then 100; refused data ends at 0 with the message before the raise.
// The switch comes back as it was however the scope that changed it ends,
// so a failing check leaves the next test the program's setting.
TEST(AcceptCorruptGifScope, GivesTheFormerValueBack) {
    for (bool former : {true, false}) {
        TAcceptCorruptGifScope outer(former);
        try {
            TAcceptCorruptGifScope inner(!former);
            EXPECT_EQ(AcceptCorruptGif, !former);
            throw std::runtime_error("left early");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(AcceptCorruptGif, former);
    }
    EXPECT_TRUE(AcceptCorruptGif);
}

TEST(GifLzwDecode, ReportsRisingProgressAndTheEnd) {
    using Seen = std::vector<std::pair<TProgressStage, int>>;
    for (int bits : {1, 4, 8}) {
        const TBitmap source = RandomBitmap(bits, 150, 80, unsigned(bits));
        Bytes data;
        GifLzwEncode(source, bits == 4, data);
        for (bool cut : {false, true}) {
            Bytes used = cut ? Bytes(data.begin(), data.begin() + std::ptrdiff_t(data.size() / 2)) : data;
            TBitmap b(150, 80, FormatOf(bits));
            Seen seen;
            std::string message;
            auto progress = [&](TProgressStage stage, int percent, const std::string& msg) {
                seen.push_back({stage, percent});
                message = msg;
            };
            {
                TAcceptCorruptGifScope refuse(false);
                if (cut)
                    EXPECT_THROW(GifLzwDecode(used, b, bits, bits == 4, progress), EInvalidGraphicOperation);
                else
                    EXPECT_FALSE(GifLzwDecode(used, b, bits, bits == 4, progress));
            }
            ASSERT_GE(seen.size(), 12u) << bits;
            EXPECT_EQ(seen.front(), std::make_pair(TProgressStage::psStarting, 0));
            EXPECT_EQ(seen.back(), std::make_pair(TProgressStage::psEnding, cut ? 0 : 100));
            EXPECT_EQ(message, cut ? "GIF encoded data is corrupt" : "");
            for (std::size_t i = 1; i + 1 < seen.size(); ++i) {
                EXPECT_EQ(seen[i].first, TProgressStage::psRunning);
                EXPECT_GT(seen[i].second, seen[i - 1].second);
                EXPECT_LE(seen[i].second, 100);
            }
            if (!cut) {
                EXPECT_EQ(b.Bits(), source.Bits()) << bits;
            }
        }
    }
}

// The pixel at which the encoder's table reaches its last code, by the plain
// dictionary rule of GIF's LZW: the clear then falls on that pixel.
std::size_t PixelOfTableClear(const std::vector<int>& pixels) {
    std::map<std::vector<int>, int> strings;
    int next = 258;
    std::vector<int> current{pixels[0]};
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        std::vector<int> longer = current;
        longer.push_back(pixels[i]);
        if (longer.size() == 1 || strings.count(longer)) {
            current = longer;
            continue;
        }
        strings[longer] = next++;
        if (next - 1 == 4094) return i;
        current = {pixels[i]};
    }
    return pixels.size();
}

TEST(GifLzwEncode, TableClearOnTheLastPixelEndsTheDataCleanly) {
    std::mt19937 rng(5);
    std::vector<int> pixels(20000);
    for (int& p : pixels) p = int(rng() % 256);
    std::size_t last = PixelOfTableClear(pixels);
    ASSERT_LT(last, pixels.size());
    wb::TempDir dir("gif");
    for (std::size_t width : {last + 1, last, last + 2}) {
        TBitmap b(int(width), 1, pf8bit);
        for (std::size_t x = 0; x < width; ++x) b.SetPixelIndex(int(x), 0, unsigned(pixels[x]));
        Bytes file = Encode(b);
        {
            TAcceptCorruptGifScope refuse(false);
            EXPECT_EQ(Decode(file).Bits(), b.Bits()) << width;
        }
        WriteFile(dir / "clear.gif", file);
        RunTool("gif2rgb -1 -o " + dir / "giflib.rgb" + " " + dir / "clear.gif");
        EXPECT_EQ(ReadFile(dir / "giflib.rgb"), Rgb(b)) << width;
    }
}

} // namespace
