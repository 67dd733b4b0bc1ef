#include "tag_editor/controls/pictures/AniFile.h"

#include <functional>
#include <gtest/gtest.h>

#include "tag_editor/controls/pictures/IcoList.h"
#include "tag_editor/controls/pictures/VlBytes.h"
#include "tag_editor/controls/pictures/VlGIF.h"
#include "tag_editor/controls/pictures/VlGraph.h"
#include "platform/testing/PixelsAndFolders.h"

using namespace velmora;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes LE32(std::uint32_t v) {
    Bytes b;
    PutLE32(b, v);
    return b;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A 4-bit icon file of one image, every pixel of colour index `fill`;
// type 2 makes it a cursor with its hot spot.
Bytes Icon(int w = 8, int h = 8, int fill = 1, unsigned type = 1, unsigned hotX = 0, unsigned hotY = 0) {
    const std::uint32_t xorStride = (std::uint32_t(w) * 4 + 31) / 32 * 4, andStride = (std::uint32_t(w) + 31) / 32 * 4;
    const std::uint32_t size = 40 + 64 + (xorStride + andStride) * std::uint32_t(h);
    Bytes b;
    PutLE16(b, 0);
    PutLE16(b, type);
    PutLE16(b, 1);
    b.insert(b.end(), {std::uint8_t(w), std::uint8_t(h), 16, 0});
    PutLE16(b, type == 2 ? hotX : 1);
    PutLE16(b, type == 2 ? hotY : 4);
    PutLE32(b, size);
    PutLE32(b, 22);
    PutLE32(b, 40);
    PutLE32(b, std::uint32_t(w));
    PutLE32(b, std::uint32_t(2 * h));
    PutLE16(b, 1);
    PutLE16(b, 4);
    for (int i = 0; i < 6; ++i) PutLE32(b, 0);
    for (int i = 0; i < 16; ++i) b.insert(b.end(), {std::uint8_t(i * 16), std::uint8_t(i * 8), std::uint8_t(i), 0});
    b.insert(b.end(), xorStride * std::uint32_t(h), std::uint8_t(fill * 17));
    b.insert(b.end(), andStride * std::uint32_t(h), 0);
    return b;
}

Bytes Chunk(const std::string& id, const Bytes& body) {
    Bytes b = Text(id) + LE32(std::uint32_t(body.size())) + body;
    if (body.size() & 1) b.push_back(0);
    return b;
}

Bytes Anih(std::uint32_t frames, std::uint32_t steps, std::uint32_t rate = 10, std::uint32_t flags = 1) {
    Bytes b;
    for (std::uint32_t v : {36u, frames, steps, 0u, 0u, 0u, 0u, rate, flags}) PutLE32(b, v);
    return Chunk("anih", b);
}

Bytes Values(std::vector<std::uint32_t> v) {
    Bytes b;
    for (auto x : v) PutLE32(b, x);
    return b;
}

Bytes Frames(std::vector<Bytes> icons) {
    Bytes body = Text("fram");
    for (auto& i : icons) body = body + Chunk("icon", i);
    return Chunk("LIST", body);
}

Bytes Ani(const Bytes& chunks) { return Text("RIFF") + LE32(std::uint32_t(4 + chunks.size())) + Text("ACON") + chunks; }

TIcon Loaded(const Bytes& file) {
    TIcon icon;
    icon.LoadFromBytes(file.data(), file.size());
    return icon;
}

// Stored bytes that a reader must refuse.
struct BadBytesCase {
    const char* name;
    std::function<Bytes()> bytes;
};
void PrintTo(const BadBytesCase& c, std::ostream* os) { *os << c.name; }

// ---- icon lists ----

TEST(IconList, EmptyEntriesAreStoredAndReadBack) {
    TIconList list;
    list.PutIcon(0, Loaded(Icon(8, 8, 1)));
    list.PutIcon(1, TIcon());
    list.PutIcon(2, Loaded(Icon(16, 16, 2)));
    Bytes stored = list.WriteData();
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 4), LE32(3));
    EXPECT_EQ(Bytes(stored.begin() + 8 + Icon(8, 8, 1).size(), stored.begin() + 12 + Icon(8, 8, 1).size()), LE32(0));
    TIconList back;
    back.ReadData(stored.data(), stored.size());
    ASSERT_EQ(back.GetCount(), 3);
    EXPECT_EQ(back.GetIcon(0)->SaveToBytes(), Icon(8, 8, 1));
    EXPECT_TRUE(back.GetIcon(1) == nullptr || back.GetIcon(1)->Empty());
    EXPECT_EQ(back.GetIcon(2)->Width(), 16);
}

TEST(IconList, OneNotificationPerChangeOfManyEntries) {
    TIconList ten, list;
    const TIcon icon = Loaded(Icon());
    for (int i = 0; i < 10; ++i) ten.Add(icon);
    int changes = 0;
    list.OnChange = [&](TIconList*) { ++changes; };
    list.Assign(ten);
    EXPECT_EQ(changes, 1);
    list.Clear();
    EXPECT_EQ(changes, 2);
    list.Add(icon);
    list.GetIcon(0)->Assign(*ten.GetIcon(3));  // changing an icon tells the list
    EXPECT_EQ(changes, 4);
}

class IconListRefused : public testing::TestWithParam<BadBytesCase> {};

TEST_P(IconListRefused, WithTheListAsItWas) {
    TIconList list;
    list.Add(Loaded(Icon()));
    list.Add(Loaded(Icon()));
    Bytes bad = GetParam().bytes();
    EXPECT_THROW(list.ReadData(bad.data(), bad.size()), EReadError);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetIcon(1)->SaveToBytes(), Icon());
}

INSTANTIATE_TEST_SUITE_P(
    Stored, IconListRefused,
    testing::Values(
        BadBytesCase{"Nothing", [] { return Bytes{}; }},
        BadBytesCase{"CountBeyondTheBytes", [] { return LE32(1000000) + LE32(0); }},
        BadBytesCase{"SizeBeyondTheBytes", [] { return LE32(1) + LE32(1000) + Bytes(10, 0); }},
        BadBytesCase{"SizeFieldCutShort", [] { return LE32(2) + LE32(0) + Bytes(2, 0); }},
        BadBytesCase{"IconPointingPastItsBytes",
                    [] {
                        Bytes icon = Icon();
                        SetLE32(icon.data() + 6 + 12, 5000);
                        return LE32(1) + LE32(std::uint32_t(icon.size())) + icon;
                    }},
        BadBytesCase{"IconOfAnotherType",
                    [] {
                        Bytes icon = Icon();
                        icon[2] = 7;
                        return LE32(1) + LE32(std::uint32_t(icon.size())) + icon;
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IconList, ANegativeCountIsAnEmptyList) {
    TIconList list;
    list.Add(Loaded(Icon()));
    for (std::uint32_t count : {0xFFFFFFFFu, 0x80000000u}) {
        list.ReadData(LE32(count).data(), 4);
        EXPECT_EQ(list.GetCount(), 0);
    }
}

// ---- animated cursors ----

class AniRefused : public testing::TestWithParam<BadBytesCase> {};

TEST_P(AniRefused, WithTheStreamReadError) {
    TAnimatedCursorImage ani;
    Bytes bad = GetParam().bytes();
    EXPECT_EQ(wb::gui::test::ErrorOf<EReadError>([&] { ani.LoadFromBytes(bad.data(), bad.size()); }),
              "Stream-Read-Fehler");
}

INSTANTIATE_TEST_SUITE_P(
    Stored, AniRefused,
    testing::Values(
        BadBytesCase{"NotRiff", [] { return Text("RIFX") + LE32(4) + Text("ACON"); }},
        BadBytesCase{"NotAnAnimatedCursor", [] { return Text("RIFF") + LE32(4) + Text("WAVE"); }},
        BadBytesCase{"TooShortForAHeader", [] { return Text("RIFF"); }},
        BadBytesCase{"HeaderWithoutTheIconFlag", [] { return Ani(Anih(1, 1, 10, 0) + Frames({Icon()})); }},
        BadBytesCase{"HeaderWithoutSteps", [] { return Ani(Anih(1, 0) + Frames({Icon()})); }},
        BadBytesCase{"HeaderShorterThanItsNineValues", [] { return Ani(Chunk("anih", Values({36, 1, 1, 0, 0})) + Frames({Icon()})); }},
        BadBytesCase{"NoIcons", [] { return Ani(Anih(1, 1)); }},
        BadBytesCase{"IconChunkLargerThanItsList",
                   [] {
                       Bytes list = Frames({Icon()});
                       SetLE32(list.data() + 16, 100000);
                       return Ani(Anih(1, 1) + list);
                   }},
        BadBytesCase{"IconDirectoryPointingPastItsChunk",
                   [] {
                       Bytes icon = Icon();
                       SetLE32(icon.data() + 6 + 12, 0xFFFFFFF0);
                       return Ani(Anih(1, 1) + Frames({icon}));
                   }},
        BadBytesCase{"IconDirectoryCountBeyondItsChunk",
                   [] {
                       Bytes icon = Icon();
                       SetLE16(icon.data() + 4, 60000);
                       return Ani(Anih(1, 1) + Frames({icon}));
                   }},
        BadBytesCase{"SequenceOfTooManySteps",
                   [] { return Ani(Anih(1, 1) + Chunk("seq ", Bytes(4 * 5000, 0)) + Frames({Icon()})); }}),
    [](const auto& info) { return std::string(info.param.name); });

struct AniCase {
    const char* name;
    std::function<Bytes()> bytes;
    std::vector<int> iconNumbers;
    std::vector<int> rates;
};
void PrintTo(const AniCase& c, std::ostream* os) { *os << c.name; }

class AniReads : public testing::TestWithParam<AniCase> {};

TEST_P(AniReads, FramesInStepOrder) {
    TAnimatedCursorImage ani;
    Bytes file = GetParam().bytes();
    ani.LoadFromBytes(file.data(), file.size());
    std::vector<int> numbers, rates;
    for (int i = 0; i < ani.FrameCount(); ++i) {
        numbers.push_back(ani.Frame(i).IconNumber);
        rates.push_back(ani.Frame(i).Rate);
    }
    EXPECT_EQ(numbers, GetParam().iconNumbers);
    EXPECT_EQ(rates, GetParam().rates);
    EXPECT_EQ(ani.Header.Steps, std::uint32_t(ani.FrameCount()));
    EXPECT_EQ(ani.ColorCount, 16);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, AniReads,
    testing::Values(
        AniCase{"ThreeIconsWithoutSequence", [] { return Ani(Anih(3, 3) + Frames({Icon(), Icon(), Icon()})); },
                {0, 1, 2}, {10, 10, 10}},
        AniCase{"RatePerStep",
                [] { return Ani(Anih(3, 3) + Chunk("rate", Values({5, 6, 7})) + Frames({Icon(), Icon(), Icon()})); },
                {0, 1, 2}, {5, 6, 7}},
        AniCase{"SequenceRepeatsAnIconAndLeavesOneOut",
                [] { return Ani(Anih(3, 3) + Chunk("seq ", Values({2, 0, 2})) + Frames({Icon(), Icon(), Icon()})); },
                {2, 0, 2, -1}, {10, 10, 10, 10}},
        AniCase{"SequenceNamingAMissingIcon",
                [] { return Ani(Anih(2, 2) + Chunk("seq ", Values({1, 9})) + Frames({Icon(), Icon()})); },
                {1, -1}, {10, 10}},
        AniCase{"FrameCountFarAboveTheIcons", [] { return Ani(Anih(0xFFFFFFFF, 5) + Frames({Icon()})); }, {0}, {10}},
        AniCase{"RateChunkTooShortForAValue",
                [] { return Ani(Anih(1, 1) + Chunk("rate", Bytes{1, 2}) + Frames({Icon()})); }, {0}, {10}},
        AniCase{"OddChunkWithItsPadByte",
                [] { return Ani(Chunk("junk", Bytes{1, 2, 3}) + Anih(1, 1) + Frames({Icon()})); }, {0}, {10}},
        AniCase{"SeveralRateChunksInTurn",
                [] {
                    return Ani(Anih(3, 3) + Chunk("rate", Values({5})) + Chunk("rate", Values({6})) +
                               Chunk("rate", Values({7})) + Frames({Icon(), Icon(), Icon()}));
                },
                {0, 1, 2}, {5, 6, 7}},
        AniCase{"SeveralSequenceChunksInTurn",
                [] {
                    return Ani(Anih(3, 3) + Chunk("seq ", Values({2})) + Chunk("seq ", Values({1})) +
                               Chunk("seq ", Values({0})) + Frames({Icon(), Icon(), Icon()}));
                },
                {2, 1, 0}, {10, 10, 10}},
        AniCase{"StepsBeyondTheFrameCount",
                [] {
                    return Ani(Anih(2, 4) + Chunk("rate", Values({1, 2, 3, 4})) + Chunk("seq ", Values({0, 1, 0, 1})) +
                               Frames({Icon(), Icon()}));
                },
                {0, 1, 0, 1}, {1, 2, 3, 4}},
        // No frame to take them yet: each icon gets one of its own, and the
        // header's frames, left without images, go.
        AniCase{"IconsBeforeTheHeader", [] { return Ani(Frames({Icon(), Icon()}) + Anih(2, 2)); }, {-1, -1}, {0, 0}},
        AniCase{"SecondHeaderAfterTheIcons",
                [] { return Ani(Anih(1, 1, 10) + Frames({Icon(), Icon()}) + Anih(2, 2, 20)); }, {0, -1}, {10, 10}},
        AniCase{"SecondHeaderBeforeTheIcons",
                [] { return Ani(Anih(1, 1, 10) + Anih(2, 2, 20) + Frames({Icon(), Icon()})); }, {0, 0, 1},
                {10, 20, 20}},
        AniCase{"ListRunningPastTheEndKeepsTheWholeIcons",
                [] {
                    Bytes list = Frames({Icon(), Icon(), Icon()});
                    SetLE32(list.data() + 4, 0x7FFFFFF0);
                    list.resize(list.size() - 30);
                    return Ani(Anih(3, 3) + list);
                },
                {0, 1}, {10, 10}},
        AniCase{"TrailingChunkCutShort",
                [] { return Ani(Anih(1, 1) + Frames({Icon()}) + Text("LIST") + LE32(500) + Text("fr")); },
                {0}, {10}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnimatedCursor, HotSpotsTitlesAndWhereTheFramesGo) {
    Bytes info = Chunk("LIST", Text("INFO") + Chunk("INAM", Text("Spinner")) + Chunk("IART", Text(std::string("Ana\0x", 5))));
    Bytes file = Ani(Anih(2, 2, 6) + info + Frames({Icon(8, 8, 1, 2, 3, 4), Icon(8, 8, 2, 1)}));
    TAnimatedCursorImage ani;
    ani.LoadFromBytes(file.data(), file.size());
    EXPECT_EQ(ani.Title, "Spinner");
    EXPECT_EQ(ani.Creator, "Ana");
    ASSERT_EQ(ani.FrameCount(), 2);
    EXPECT_FALSE(ani.Frame(0).IsIcon);
    EXPECT_EQ(ani.Frame(0).HotSpot, (wb::gui::Point{3, 4}));  // a cursor's own
    EXPECT_TRUE(ani.Frame(1).IsIcon);
    EXPECT_EQ(ani.Frame(1).HotSpot, (wb::gui::Point{4, 4}));  // an icon's centre

    TBitmap strip;
    ani.AssignTo(strip, wb::gui::clWhite);
    EXPECT_EQ(strip.Width(), 16);
    EXPECT_EQ(strip.Height(), 8);
    EXPECT_EQ(strip.PixelFormat(), pf4bit);  // 16 colours at most

    TIconList list;
    ani.AssignTo(list);
    EXPECT_EQ(list.GetCount(), 2);

    TGIFImage gif;
    gif.Assign(ani);
    ASSERT_EQ(gif.Count(), 2);
    EXPECT_EQ(gif.Frames(1).AnimateInterval, 100u);  // 6 jiffies
    EXPECT_EQ(gif.Bitmap().Pixel(0, 0), wb::gui::RGBColor(2, 16, 32));

    EXPECT_THROW(ani.SaveToStream(), ENotImplemented);
}

} // namespace
