#include "ParvexTestSupport.h"

#include <cstdio>
#include <cstring>

#include "file_splitter/PieceFiles.h"
#include "platform/base/File.h"

using namespace parvex::test;

namespace {

class RoundTrip : public DialogTest {};

// A quick 64-bit checksum over a whole file, read in large blocks.
uint64_t Checksum(const std::string& path) {
    wb::File file(path, wb::File::Mode::Read);
    std::vector<unsigned char> buf(1 << 20);
    uint64_t h = 1469598103934665603ull, pos = 0;
    for (;;) {
        const size_t got = file.Read(buf.data(), buf.size());
        if (got == 0) break;
        size_t i = 0;
        for (; i + 8 <= got; i += 8) {
            uint64_t word;
            std::memcpy(&word, buf.data() + i, 8);
            h = (h ^ word) * 1099511628211ull;
            h ^= h >> 29;
        }
        for (; i < got; ++i) h = (h ^ buf[i]) * 1099511628211ull;
        pos += got;
    }
    return h ^ pos;
}

} // namespace

TEST_F(RoundTrip, SizesAroundEveryBlockAndPieceBoundary) {
    // Piece sizes below, at and above the copy block, as kilobyte texts.
    const std::pair<const char*, uint64_t> pieces[] = {
        {"4", 4096}, {"62.5", 64000}, {"62.5009765625", 64001}, {"125", 128000}, {"127", 130048}};
    unsigned seed = 1;
    for (const auto& [kilobytes, p] : pieces) {
        std::vector<uint64_t> sizes;
        for (uint64_t k : {1ull, 2ull, 3ull})
            for (int64_t d : {-10, -9, -8, 0, 1})
                if (k * p + d - 9 > p) sizes.push_back(k * p + d - 9);
        for (uint64_t blocks : {2ull, 3ull})
            for (int64_t d : {-1, 0, 1})
                if (blocks * 64000 + d > p) sizes.push_back(blocks * 64000 + d);
        for (uint64_t s : sizes) {
            if (s < 4096 || parvex::PieceCount(s, p) > 100) continue;
            SCOPED_TRACE(std::to_string(s) + " bytes in pieces of " + kilobytes + " KB");
            auto original = MakeFile("src.dat", s, ++seed);
            BrowseSplit(Path("src.dat"));
            Specify(kilobytes);
            ASSERT_EQ(dlg->PieceSize(), p);
            host.Click(IDC_BREAK_IT);
            const uint64_t n = parvex::PieceCount(s, p);
            ExpectMessage(Path("src.dat") + " splitted sucessfully into " + std::to_string(n) +
                              " parts (files). ",
                          MsgKind::Plain);
            uint64_t sum = fs::file_size(Path("src.brk"));
            for (uint64_t k = 1; k < n; ++k)
                sum += fs::file_size(parvex::PieceName(Path("src."), static_cast<int>(k)));
            EXPECT_EQ(sum, s + 9);
            EXPECT_FALSE(fs::exists(parvex::PieceName(Path("src."), static_cast<int>(n))));
            EXPECT_EQ(host.Positions(IDC_SPLIT_PROGRESS)[host.Positions(IDC_SPLIT_PROGRESS).size() - 2], 100);

            fs::remove(Path("src.dat"));
            BrowseJoin(Path("src.brk"));
            ExpectNoMessage();
            host.Click(IDC_ASSEMBLE);
            ExpectMessage("File successfully Re-assembled", MsgKind::Plain);
            ASSERT_EQ(ReadBytes(Path("src.dat")), original);
            fs::remove_all(dir_.Path());
            fs::create_directories(dir_.Path());
        }
    }
}

TEST_F(RoundTrip, WithoutExtensionAndWithALongOne) {
    auto plain = MakeFile("readme", 20000, 3);
    auto longer = MakeFile("clip.mpeg4", 20000, 4);
    for (const char* name : {"readme", "clip.mpeg4"}) {
        BrowseSplit(Path(name));
        Specify("8");
        host.Click(IDC_BREAK_IT);
        host.TakeMessages();
    }
    fs::rename(Path("readme"), Path("readme.orig"));
    fs::rename(Path("clip.mpeg4"), Path("clip.orig"));
    BrowseJoin(Path("readme.brk"));
    EXPECT_EQ(host.Text(IDC_JOIN_OUTPUT), Path("readme"));
    host.Click(IDC_ASSEMBLE);
    EXPECT_EQ(ReadBytes(Path("readme")), plain);
    BrowseJoin(Path("clip.brk"));
    EXPECT_EQ(host.Text(IDC_JOIN_OUTPUT), Path("clip.mpeg"));  // the field holds four characters
    host.Click(IDC_ASSEMBLE);
    EXPECT_EQ(ReadBytes(Path("clip.mpeg")), longer);
}

// A file over 4 GiB, sparse so it costs no disk; its pieces and the rebuilt
// file do, so the test needs that much free space and says so otherwise.
TEST_F(RoundTrip, SparseFileOverFourGigabytes) {
    const uint64_t size = (4ull << 30) + 123457;
    const uint64_t needed = 2 * size + (512ull << 20);
    const auto space = fs::space(dir_.Path());
    if (space.available < needed)
        GTEST_SKIP() << "needs " << (needed >> 20) << " MiB free in " << dir_.Path() << ", has "
                     << (space.available >> 20) << " MiB";

    const std::string source = Path("huge.img");
    {
        wb::File file(source, wb::File::Mode::CreateNew);
        file.Truncate(static_cast<int64_t>(size));
        // Marks around the 2 GiB and 4 GiB lines, where 32-bit sizes break.
        for (uint64_t at : {uint64_t{0}, (uint64_t{2} << 30) - 3, (uint64_t{4} << 30) - 5,
                            (uint64_t{4} << 30) + 7, size - 8}) {
            file.Seek(static_cast<int64_t>(at));
            const std::string mark = "mark" + std::to_string(at % 10000);
            file.Write(mark.data(), std::min<size_t>(mark.size(), size - at));
        }
    }
    const uint64_t before = Checksum(source);

    BrowseSplit(source);
    EXPECT_EQ(dlg->FileSize(), size);
    EXPECT_EQ(host.Text(IDC_SOURCE_SIZE), "4194424.56 KB");
    EXPECT_TRUE(host.Enabled(IDC_PRESET_125M));
    Specify("65536");  // 64 MiB pieces: 65 of them
    EXPECT_EQ(host.Text(IDC_SPLIT_COUNT), "65");
    host.Click(IDC_BREAK_IT);
    ExpectMessage(source + " splitted sucessfully into 65 parts (files). ", MsgKind::Plain);
    fs::rename(source, Path("huge.orig"));

    BrowseJoin(Path("huge.brk"));
    ExpectNoMessage();
    EXPECT_EQ(host.Text(IDC_JOIN_OUTPUT), source);
    EXPECT_EQ(host.Text(IDC_JOINED_SIZE), "4194424.56 KB");
    host.Click(IDC_ASSEMBLE);
    ExpectMessage("File successfully Re-assembled", MsgKind::Plain);
    EXPECT_EQ(fs::file_size(source), size);
    EXPECT_EQ(Checksum(source), before);
}
