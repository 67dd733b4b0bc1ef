#include <gtest/gtest.h>

#include <numeric>

#include "file_splitter/PieceFormat.h"

using namespace parvex;

namespace {

std::string Field(const std::array<char, 4>& f) { return std::string(f.data(), 4); }

} // namespace

TEST(PieceHeader, EncodesMagicExtensionAndLittleEndianCount) {
    PieceHeader h;
    h.extension = {'t', 'x', 't', 0};
    h.count = 0x0102;
    auto bytes = EncodeHeader(h);
    const unsigned char expected[] = {'B', 'r', 'K', 't', 'x', 't', 0, 0x02, 0x01};
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected));

    h.count = 100;
    bytes = EncodeHeader(h);
    auto back = DecodeHeader(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->count, 100);
    EXPECT_EQ(Field(back->extension), Field(h.extension));
}

TEST(PieceHeader, RefusesWhatNoSplitCanHaveWritten) {
    PieceHeader h;
    h.count = 3;
    auto bytes = EncodeHeader(h);
    EXPECT_FALSE(DecodeHeader(bytes.data(), 8)) << "shorter than a header";
    EXPECT_FALSE(DecodeHeader(bytes.data(), 0));
    auto upper = bytes;
    upper[1] = 'R';
    EXPECT_FALSE(DecodeHeader(upper.data(), upper.size())) << "magic is case-sensitive";
    h.count = 101;
    bytes = EncodeHeader(h);
    EXPECT_FALSE(DecodeHeader(bytes.data(), bytes.size()));
    bytes[7] = 0xFF;
    bytes[8] = 0xFF;  // a negative count when read signed
    EXPECT_FALSE(DecodeHeader(bytes.data(), bytes.size()));
    h.count = 0;
    bytes = EncodeHeader(h);
    EXPECT_TRUE(DecodeHeader(bytes.data(), bytes.size()));
}

TEST(PieceHeader, ExtensionFieldTakesFourCharactersOfTheFileNameOnly) {
    EXPECT_EQ(Field(ExtensionField("/data/photo.jpeg")), "jpeg");
    EXPECT_EQ(Field(ExtensionField("/data/notes.c")), std::string("c\0\0\0", 4));
    EXPECT_EQ(Field(ExtensionField("/data/readme")), std::string(4, '\0'));
    EXPECT_EQ(Field(ExtensionField("/my.dir/readme")), std::string(4, '\0'));
    EXPECT_EQ(Field(ExtensionField("a.tar.gz")), std::string("gz\0\0", 4));
    EXPECT_EQ(Field(ExtensionField("a.ext12345")), "ext1");
    // Stored as the format's one-byte characters, not as UTF-8.
    EXPECT_EQ(Field(ExtensionField("caf\xC3\xA9.\xC3\xA9t\xC3\xA9")), std::string("\xE9t\xE9\0", 4));
}

TEST(PieceNames, DefaultOutputAndPieceNamesStayInTheSourceFolder) {
    EXPECT_EQ(DefaultSplitOutputName("/d/movie.avi"), "/d/movie.brk");
    EXPECT_EQ(DefaultSplitOutputName("/d/a.b.c"), "/d/a.b.brk");
    EXPECT_EQ(DefaultSplitOutputName("/my.dir/readme"), "/my.dir/readme.brk");
    EXPECT_EQ(DefaultSplitOutputName("readme"), "readme.brk");

    EXPECT_EQ(PieceBase("/my.dir/movie.brk"), "/my.dir/movie.");
    EXPECT_EQ(PieceBase("/d/my.movie.brk"), "/d/my.");
    EXPECT_FALSE(PieceBase("/my.dir/moviebrk"));
    EXPECT_EQ(PieceName("/d/movie.", 1), "/d/movie.b01");
    EXPECT_EQ(PieceName("/d/movie.", 42), "/d/movie.b42");
    EXPECT_EQ(PieceName("/d/movie.", 99), "/d/movie.b99");

    EXPECT_TRUE(HasPieceExtension("movie.BrK"));
    EXPECT_TRUE(HasPieceExtension("brk"));
    EXPECT_FALSE(HasPieceExtension("movie.bak"));
    EXPECT_FALSE(HasPieceExtension("rk"));
    EXPECT_FALSE(HasPieceExtension(""));
}

TEST(PiecePlan, CountsAndSizesOfTheKnownPlans) {
    struct Case { uint64_t s, p, n; std::vector<uint64_t> sizes; };
    const Case cases[] = {
        {1000000, 512000, 2, {512000, 488009}},
        {1024000, 512000, 3, {512000, 512000, 9}},
        {1023991, 512000, 2, {512000, 512000}},
        {409591, 4096, 100, {}},
        {409592, 4096, 101, {}},
        {5000000000ull, 67108864, 75, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(PieceCount(c.s, c.p), c.n);
        uint64_t sum = 0;
        for (uint64_t k = 0; k < c.n; ++k) {
            const uint64_t len = PieceLength(c.s, c.p, k);
            if (k < c.sizes.size()) {
                EXPECT_EQ(len, c.sizes[k]) << k;
            }
            if (k + 1 < c.n) {
                EXPECT_EQ(len, c.p);
            }
            EXPECT_GT(len, 0u);
            sum += len;
        }
        EXPECT_EQ(sum, c.s + 9);
        EXPECT_EQ(PieceLength(c.s, c.p, c.n), 0u);
    }
    EXPECT_EQ(PieceCount(1000, 0), 0u);
    EXPECT_EQ(PieceCount(1000, UINT64_MAX), 1u);
}

TEST(JoinNames, OutputNameFromHeaderAndFirstPieceName) {
    auto names = JoinNamesFor("/d/movie.brk", {'t', 'x', 't', 0});
    EXPECT_EQ(names.output, "/d/movie.txt");
    EXPECT_EQ(names.pieceBase, "/d/movie.");
    EXPECT_EQ(JoinNamesFor("/d/movie.brk", {'j', 'p', 'e', 'g'}).output, "/d/movie.jpeg");
    EXPECT_EQ(JoinNamesFor("/d/movie.brk", {'c', 0, 'x', 'y'}).output, "/d/movie.c");

    // No extension: no trailing '.', but the pieces are still movie.b01 ...
    names = JoinNamesFor("/d/movie.brk", {0, 0, 0, 0});
    EXPECT_EQ(names.output, "/d/movie");
    EXPECT_EQ(names.pieceBase, "/d/movie.");

    names = JoinNamesFor("/my.dir/movie.brk", {'t', 'x', 't', 0});
    EXPECT_EQ(names.output, "/my.dir/movie.txt");
    EXPECT_EQ(names.pieceBase, "/my.dir/movie.");

    EXPECT_EQ(JoinNamesFor("/d/movie.brk", {'\xE9', 0, 0, 0}).output, "/d/movie.\xC3\xA9");
}

TEST(JoinNames, HostileExtensionNeverLeavesTheFolder) {
    auto names = JoinNamesFor("/d/movie.brk", {'/', '.', '.', '/'});
    EXPECT_EQ(names.output, "/d/movie._.._");
    EXPECT_EQ(names.output.find('/', 3), std::string::npos);
    EXPECT_EQ(JoinNamesFor("/d/movie.brk", {'a', '\n', '\x7F', '\x81'}).output, "/d/movie.a___");
    // A first piece whose name is shorter than three characters keeps its folder.
    EXPECT_EQ(JoinNamesFor("/d/ab", {'t', 'x', 't', 0}).output, "/d/txt");
}

TEST(Progress, SplitStepsOverTheWholeSet) {
    // 1,000,000 bytes in pieces of 512,000: 8 blocks per piece, 16 steps.
    SplitProgress p(2, 512000);
    EXPECT_DOUBLE_EQ(p.Step(), 6.25);
    EXPECT_EQ(p.First(), 6);
    std::vector<int> shown;
    for (int i = 0; i < 16; ++i)
        if (auto pos = p.Block()) shown.push_back(*pos);
    EXPECT_EQ(shown, (std::vector<int>{6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100}));

    EXPECT_DOUBLE_EQ(SplitProgress(100, 4096).Step(), 1.0);
}

TEST(Progress, JoinStepsNeverDivideByZero) {
    // A header count of 0 must not divide by zero.
    EXPECT_DOUBLE_EQ(JoinProgress(0, 5000).Step(), 100.0);
    // The running value starts one step ahead; the bar shows its whole part
    // only when the value's ceiling grows.
    JoinProgress p(1, 1000);
    EXPECT_EQ(p.Block(), 200);
}
