#include <functional>
#include <gtest/gtest.h>

#include "tag_editor/controls/pictures/VlBytes.h"
#include "tag_editor/controls/pictures/VlGIF.h"
#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;
using wb::gui::clNone;
using wb::gui::RGBColor;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The encoded data of a 2 x 2 picture of indices 0, 1 / 1, 0.
Bytes TwoByTwoData() {
    TBitmap b(2, 2, pf1bit);
    b.SetPixelIndex(1, 0, 1);
    b.SetPixelIndex(0, 1, 1);
    Bytes out;
    GifLzwEncode(b, false, out);
    return out;
}

// A GIF file built field by field.
struct Gif {
    Bytes b;
    explicit Gif(const char* signature = "GIF89a", int width = 2, int height = 2, bool global = true,
                 int background = 0) {
        b.assign(signature, signature + 6);
        PutLE16(b, unsigned(width));
        PutLE16(b, unsigned(height));
        b.push_back(global ? 0x80 : 0);  // two entries
        b.push_back(std::uint8_t(background));
        b.push_back(0);
        if (global) b.insert(b.end(), {10, 20, 30, 40, 50, 60});
    }
    Gif& Control(int packed, int delay, int index) {
        b.insert(b.end(), {'!', 0xF9, 4, std::uint8_t(packed), std::uint8_t(delay), std::uint8_t(delay >> 8),
                           std::uint8_t(index), 0});
        return *this;
    }
    Gif& Block(int label, Bytes fixed, std::vector<std::string> lines) {
        b.push_back('!');
        b.push_back(std::uint8_t(label));
        b.insert(b.end(), fixed.begin(), fixed.end());
        for (auto& l : lines) {
            b.push_back(std::uint8_t(l.size()));
            b.insert(b.end(), l.begin(), l.end());
        }
        b.push_back(0);
        return *this;
    }
    Gif& Loop(const char* id, int blockSize, Bytes line) {
        Bytes fixed{std::uint8_t(blockSize)};
        fixed.insert(fixed.end(), id, id + 11);
        return Block(0xFF, fixed, {std::string(line.begin(), line.end())});
    }
    Gif& Image(int width = 2, int height = 2, Bytes data = TwoByTwoData()) {
        b.push_back(',');
        PutLE16(b, 0);
        PutLE16(b, 0);
        PutLE16(b, unsigned(width));
        PutLE16(b, unsigned(height));
        b.push_back(0);
        b.insert(b.end(), data.begin(), data.end());
        return *this;
    }
    Gif& Byte(int v) {
        b.push_back(std::uint8_t(v));
        return *this;
    }
    Gif& End() { return Byte(';'); }
};

std::string LoadError(const Bytes& file) {
    TGIFImage gif;
    return wb::gui::test::ErrorOf<std::exception>([&] { gif.LoadFromBytes(file); });
}

// ---- files that are refused, each with the message the user sees ----

struct RefusedCase {
    const char* name;
    std::function<Bytes()> file;
    const char* message;
};

class GifRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(GifRefused, WithItsMessage) { EXPECT_EQ(LoadError(GetParam().file()), GetParam().message); }

INSTANTIATE_TEST_SUITE_P(
    Reading, GifRefused,
    testing::Values(
        RefusedCase{"VersionNeither87aNor89a", [] { return Gif("GIF88a").Image().End().b; }, "Unknown GIF version"},
        RefusedCase{"NoGifSignature", [] { return Bytes{'P', 'N', 'G', '8', '9', 'a'}; }, "Unknown GIF version"},
        RefusedCase{"ShorterThanTheSignature", [] { return Bytes{'G', 'I'}; }, "Unknown GIF version"},
        RefusedCase{"ScreenDescriptorCutShort", [] { return Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0}; },
                    "Stream-Read-Fehler"},
        RefusedCase{"GlobalTableCutShort",
                    [] { Bytes b = Gif().b; b.resize(b.size() - 2); return b; }, "Stream-Read-Fehler"},
        RefusedCase{"ImageDescriptorCutShort", [] { return Gif().Byte(',').Byte(0).Byte(0).b; },
                    "Stream-Read-Fehler"},
        RefusedCase{"NoColourTableAnywhere", [] { return Gif("GIF89a", 2, 2, false).Image().End().b; },
                    "Wrong number of colors; must be a power of 2"},
        RefusedCase{"UnknownExtension", [] { return Gif().Block(0x42, {}, {}).Image().End().b; },
                    "Unrecognized extension block: 42"},
        RefusedCase{"StrayByteAfterAnExtensionGroup", [] { return Gif().Control(0, 1, 0).Byte('x').b; },
                    "Stream-Read-Fehler"},
        RefusedCase{"ControlExtensionCutShort",
                    [] { Bytes b = Gif().b; b.insert(b.end(), {'!', 0xF9, 4, 0}); return b; },
                    "Stream-Read-Fehler"},
        // Sizes are computed in 64 bits and bounded before rows are allocated.
        RefusedCase{"FrameOfFourGigabytes", [] { return Gif().Image(65535, 65535).End().b; },
                    "GIF frame is too large"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- what a file's blocks set ----

struct ReadCase {
    const char* name;
    std::function<Bytes()> file;
    std::function<void(TGIFImage&)> check;
};

class GifReads : public testing::TestWithParam<ReadCase> {};

TEST_P(GifReads, TheImageItDescribes) {
    TGIFImage gif;
    gif.LoadFromBytes(GetParam().file());
    GetParam().check(gif);
}

INSTANTIATE_TEST_SUITE_P(
    Reading, GifReads,
    testing::Values(
        ReadCase{"SignatureInMixedCase", [] { return Gif("gif89A").Image().End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.Version(), 2); EXPECT_EQ(g.Count(), 1); }},
        ReadCase{"BackgroundIndexInTheTable", [] { return Gif("GIF87a", 2, 2, true, 1).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.BackgroundColor, RGBColor(40, 50, 60)); }},
        ReadCase{"BackgroundIndexBeyondTheTable", [] { return Gif("GIF87a", 2, 2, true, 2).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.BackgroundColor, clNone); }},
        ReadCase{"TransparentIndexInTheTable", [] { return Gif().Control(1, 0, 1).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.Frames(0).TransparentColor, RGBColor(40, 50, 60)); }},
        ReadCase{"TransparentIndexBeyondTheTableLeavesItAsItWas",
                 [] { return Gif().Control(1, 0, 1).Control(1, 0, 9).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.Frames(0).TransparentColor, RGBColor(40, 50, 60)); }},
        ReadCase{"NoTransparencyBit", [] { return Gif().Control(1, 0, 1).Control(0, 0, 1).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.Frames(0).TransparentColor, clNone); }},
        ReadCase{"TwoControlsTakeTheLargerDelay",
                 [] { return Gif().Control(0, 7, 0).Control(8, 3, 0).Image().End().b; },
                 [](TGIFImage& g) {
                     EXPECT_EQ(g.Frames(0).AnimateInterval, 70u);
                     EXPECT_EQ(g.Frames(0).DisposalMethod, 2);
                 }},
        ReadCase{"DelayBeyondSixteenBitsOfMilliseconds", [] { return Gif().Control(0, 65535, 0).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.Frames(0).AnimateInterval, 655350u); }},
        ReadCase{"LoopRepeatCapped", [] { return Gif().Loop("NETSCAPE2.0", 11, {1, 0xFF, 0xFF}).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_TRUE(g.Looping); EXPECT_EQ(g.RepeatCount, 30000); }},
        ReadCase{"LoopForever", [] { return Gif().Loop("ANIMEXTS1.0", 11, {1, 0, 0}).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_TRUE(g.Looping); EXPECT_EQ(g.RepeatCount, 0); }},
        ReadCase{"LoopBlockWithAnotherFirstByte", [] { return Gif().Loop("NETSCAPE2.0", 11, {2, 5, 0}).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_FALSE(g.Looping); EXPECT_EQ(g.RepeatCount, 1); }},
        ReadCase{"LoopBlockLineTooShort", [] { return Gif().Loop("NETSCAPE2.0", 11, {1, 5}).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_FALSE(g.Looping); }},
        // The identifier is compared over exactly its 11 bytes, whatever the block size says.
        ReadCase{"LoopBlockSizeOtherThanEleven", [] { return Gif().Loop("NETSCAPE2.0", 3, {1, 5, 0}).Image().End().b; },
                 [](TGIFImage& g) { EXPECT_FALSE(g.Looping); }},
        ReadCase{"PlainTextDropsWhatWasCollected",
                 [] { return Gif().Control(0, 5, 0).Block(0x01, Bytes(13, 0), {"hi"}).Image().End().b; },
                 [](TGIFImage& g) {
                     EXPECT_TRUE(g.Frames(0).Extensions().empty());
                     EXPECT_EQ(g.Frames(0).AnimateInterval, 0u);
                 }},
        ReadCase{"TwoCommentsBeforeTheTrailer",
                 [] { return Gif().Image().Block(0xFE, {}, {"a", "b"}).Block(0xFE, {}, {"c"}).End().b; },
                 [](TGIFImage& g) {
                     EXPECT_EQ(g.Data()->Comment, (std::vector<std::string>{"a", "b", "\r\n\r\n", "c"}));
                 }},
        ReadCase{"StrayByteAfterAnImageEndsQuietly", [] { return Gif().Image().Byte('x').Image().End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.Count(), 1); }},
        ReadCase{"ZeroSizeTakesTheScreenSize", [] { return Gif("GIF89a", 2, 2).Image(0, 0).End().b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.Width(), 2); EXPECT_EQ(g.Height(), 2); }},
        ReadCase{"CommentSubBlockCut", [] { return Gif().Image().Byte('!').Byte(0xFE).Byte(9).Byte('c').b; },
                 [](TGIFImage& g) { EXPECT_EQ(g.Count(), 1); EXPECT_EQ(g.Data()->Comment, std::vector<std::string>{"c"}); }},
        ReadCase{"DataCutWhereItsRestLooksLikeAnExtension",
                 [] { return Gif().Image().Image(2, 2, {2, 200, '!', 0x42}).b; },
                 [](TGIFImage& g) { ASSERT_EQ(g.Count(), 2); EXPECT_TRUE(g.Frames(1).Corrupted); }},
        ReadCase{"SubBlockRunningPastTheEnd",
                 [] { Bytes b = Gif().Image().b; b.pop_back(); b.insert(b.end(), {200, 1, 2}); return b; },
                 [](TGIFImage& g) {
                     EXPECT_TRUE(g.Frames(0).Corrupted);
                     EXPECT_EQ(g.Bitmap().PixelIndex(1, 0), 1u);
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- what writing makes ----

TBitmap Picture(TPixelFormat pf, int w = 3, int h = 2) {
    TBitmap b(w, h, pf);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGBColor(x * 80, y * 100, 7));
    return b;
}

TEST(GifWrite, OneFrameFromTwentyFourBits) {
    TGIFImage gif;
    gif.AddFrame(Picture(pf24bit));
    Bytes file = gif.SaveToBytes();
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF87a");
    EXPECT_EQ(file[10], 0xF7);  // global table of 256 entries
    const std::size_t image = 13 + 768;
    ASSERT_EQ(file[image], ',');
    EXPECT_EQ(file[image + 9], 0);  // no local table, not interlaced
    TGIFImage back;
    back.LoadFromBytes(file);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(back.Bitmap().Pixel(x, 1), RGBColor(x * 80, 100, 7));
}

TEST(GifWrite, TwoFramesAndTheLoopBlock) {
    for (bool looping : {false, true}) {
        TGIFImage gif;
        gif.AddFrame(Picture(pf24bit));
        gif.AddFrame(Picture(pf4bit));
        gif.Looping = looping;
        gif.RepeatCount = 3;
        Bytes file = gif.SaveToBytes();
        EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF89a");
        const std::string text(file.begin(), file.end());
        EXPECT_EQ(text.find("NETSCAPE2.0") != std::string::npos, looping);
        TGIFImage back;
        back.LoadFromBytes(file);
        ASSERT_EQ(back.Count(), 2);
        EXPECT_FALSE(back.Frames(0).LocalColors);
        EXPECT_TRUE(back.Frames(1).LocalColors);
        EXPECT_EQ(back.Looping, looping);
        if (looping) {
            EXPECT_EQ(back.RepeatCount, 3);
        }
    }
}

TEST(GifWrite, LongCommentLinesGoOnInFurtherSubBlocks) {
    TGIFImage gif;
    gif.AddFrame(Picture(pf8bit));
    const std::string line(600, 'x');
    gif.Data()->Comment = {line, "short"};
    TGIFImage back;
    back.LoadFromBytes(gif.SaveToBytes());
    std::string joined;
    for (auto& l : back.Data()->Comment) joined += l;
    EXPECT_EQ(joined, line + "short");
    EXPECT_EQ(back.Data()->Comment.size(), 4u);
}

TEST(GifWrite, FrameValuesSurviveAWriteAndARead) {
    // Entries 1 and 3 of the frame's table share a colour; the file's index 3 is kept.
    Gif file("GIF89a", 2, 2, false);
    file.b.insert(file.b.end(), {'!', 0xF9, 4, 1, 0x70, 0x11, 3, 0});
    file.b.insert(file.b.end(), {',', 0, 0, 0, 0, 2, 0, 2, 0, 0x81, 1, 2, 3, 9, 9, 9, 4, 5, 6, 9, 9, 9});
    Bytes data = TwoByTwoData();
    file.b.insert(file.b.end(), data.begin(), data.end());
    file.End();
    TGIFImage gif;
    gif.LoadFromBytes(file.b);
    ASSERT_EQ(gif.Count(), 1);
    gif.Frames(0).AnimateInterval = 700000;  // more than 16 bits of milliseconds
    TGIFImage back;
    back.LoadFromBytes(gif.SaveToBytes());
    const TExtension& control = back.Frames(0).Extensions().at(0);
    EXPECT_EQ(control.Fixed[4], 3);
    EXPECT_EQ(back.Frames(0).TransparentColor, RGBColor(9, 9, 9));
    EXPECT_EQ(back.Frames(0).AnimateInterval, 655350u);  // the file's field holds 65535 hundredths
    gif.Frames(0).AnimateInterval = 70000;
    back.LoadFromBytes(gif.SaveToBytes());
    EXPECT_EQ(back.Frames(0).AnimateInterval, 70000u);
}

TEST(GifWrite, RefusesWhatTheFileCannotHold) {
    auto error = [](std::function<void(TGIFImage&)> make) {
        TGIFImage gif;
        return wb::gui::test::ErrorOf<std::exception>([&] {
            make(gif);
            gif.SaveToBytes();
        });
    };
    const std::string tooLarge = "A GIF image cannot be wider or taller than 65535 pixels";
    EXPECT_EQ(error([](TGIFImage&) {}), "No GIF Data to write");
    EXPECT_EQ(error([](TGIFImage& g) { g.AddFrame(TBitmap()); }), "No GIF Data to write");
    EXPECT_EQ(error([](TGIFImage& g) { g.AddFrame(TBitmap(65536, 1, pf1bit)); }), tooLarge);
    EXPECT_EQ(error([](TGIFImage& g) { g.AddFrame(TBitmap(1, 65536, pf1bit)); }), tooLarge);
    EXPECT_EQ(error([](TGIFImage& g) {
                  g.AddFrame(TBitmap(65000, 1, pf1bit));
                  g.Frames(0).Left = 1000;
              }),
              tooLarge);
    EXPECT_EQ(error([](TGIFImage& g) { g.AddFrame(TBitmap(65535, 1, pf1bit)); }), "");
    TGIFImage gif;
    EXPECT_THROW(gif.SetWidth(3), EInvalidGraphicOperation);
    EXPECT_EQ(gif.Width(), 0);
}

TEST(GifWrite, ReadAndWrittenWithoutDrawingKeepsTheDataAndTheLength) {
    TGIFImage gif;
    gif.LoadFromBytes(Gif().Image().End().b);
    Bytes once = gif.WriteData();
    TGIFImage again;
    again.ReadData(once.data(), once.size());
    EXPECT_EQ(again.WriteData(), once);
    EXPECT_EQ(GetLE32(once.data()), once.size() - 4);
    once[0] = 0xFF;  // a length beyond the bytes
    EXPECT_THROW(again.ReadData(once.data(), once.size()), EInvalidGraphicOperation);
}

} // namespace
