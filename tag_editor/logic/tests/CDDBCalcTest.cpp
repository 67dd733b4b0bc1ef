#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "TestFiles.h"
#include "platform/media/CdToc.h"
#include "platform/base/TempDir.h"
#include "tag_editor/logic/CDDBCalc.h"

#ifdef WB_HAVE_LIBCDDB
#include <cddb/cddb.h>
#endif

using namespace velmora;

namespace {

template <typename Row>
std::string RowName(const testing::TestParamInfo<Row>& info) { return info.param.name; }

std::vector<uint32_t> Frames(const std::vector<uint32_t>& seconds) {
    std::vector<uint32_t> f;
    for (uint32_t s : seconds) f.push_back(s * kFramesPerSecond);
    return f;
}

// The starts of 29 tracks whose start seconds have digit sums adding up to
// first + 28 * 9.
std::vector<uint32_t> NineSumStarts(uint32_t first) {
    std::vector<uint32_t> s{first};
    for (uint32_t v = 9; s.size() < 29; ++v)
        if (CddbDigitSum(int(v)) == 9) s.push_back(v);
    return Frames(s);
}

struct DiscCase {
    std::string name;
    TCdReport report;
    std::string id, total;
    std::vector<std::string> offsets;
};
std::ostream& operator<<(std::ostream& os, const DiscCase& c) { return os << c.name; }

class DiscIdTest : public testing::TestWithParam<DiscCase> {};

TEST_P(DiscIdTest, FollowsThePublishedRule) {
    const auto& c = GetParam();
    TDiskInfoRec disc = MakeDiscInfo(c.report);
    EXPECT_EQ(disc.DiscId, c.id);
    EXPECT_EQ(disc.TotalSeconds, c.total);
    EXPECT_EQ(disc.Offsets, c.offsets);
    EXPECT_EQ(disc.TrackCount, std::to_string(c.report.Starts.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiscIdTest,
    testing::Values(
        // 0:02.00 and 3:00.00, the last 2:00.00 long: lead-out 22501 frames.
        DiscCase{"TwoTracks", {{150, 13500}, 9000}, "0b012a02", "300", {"150", "13500"}},
        DiscCase{"LeadingZerosStay", {{150}, 75 * 10}, "02000a01", "12", {"150"}}),
    RowName<DiscCase>);

TEST(DiscIdTopByte, IsTheDigitSumModulo255) {
    for (auto [first, top] : {std::pair{3u, "00"}, {4u, "01"}, {2u, "fe"}}) {
        TDiskInfoRec d = MakeDiscInfo({NineSumStarts(first), 75 * 60});
        EXPECT_EQ(d.DiscId.substr(0, 2), top) << first;
        EXPECT_EQ(d.DiscId.size(), 8u);
        EXPECT_EQ(d.DiscId.substr(6), "1d");  // 29 tracks
    }
}

TEST(DiscIdStandIn, ATableOfContentsGivesTheServersLeadOut) {
    // Tracks at LBA 0 and 13350, lead-out at LBA 22350: the same disc as
    // above, whose lead-out is 22500 frames from the start of the disc.
    wb::media::CdToc toc;
    toc.firstTrack = 1;
    toc.lastTrack = 2;
    toc.trackStarts = {0, 13350};
    toc.leadOut = 22350;
    TCdReport report = CdReportFromToc(toc);
    EXPECT_EQ(report.Starts, (std::vector<uint32_t>{150, 13500}));
    EXPECT_EQ(report.LastLength, 22350u - 13350u - 1u);
    TDiskInfoRec disc = MakeDiscInfo(report);
    EXPECT_EQ(disc.TotalSeconds, "300");
    EXPECT_EQ(disc.DiscId, "0b012a02");
}

struct BadDisc {
    std::string name;
    TCdReport report;
    std::string message;
};
std::ostream& operator<<(std::ostream& os, const BadDisc& c) { return os << c.name; }
class BadDiscTest : public testing::TestWithParam<BadDisc> {};

TEST_P(BadDiscTest, IsRefusedWithAMessage) {
    try {
        MakeDiscInfo(GetParam().report);
        FAIL() << "no error";
    } catch (const CddbError& e) {
        EXPECT_EQ(e.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDiscTest,
    testing::Values(BadDisc{"NoTracks", {{}, 0}, "The disc holds no tracks."},
                    BadDisc{"HundredTracks", {std::vector<uint32_t>(100, 150), 0},
                            "The disc reports 100 tracks; a CD holds at most 99."},
                    BadDisc{"StartsThatFall", {{150, 9000, 4000}, 100},
                            "The disc's table of contents is damaged: track 3 does not start after track 2."}),
    RowName<BadDisc>);

TEST(ReadDiskInfo, SaysWhetherTheDriveIsMissingOrHoldsNoDisc) {
    try {
        ReadDiskInfo("/dev/no-such-cd-drive");
        FAIL();
    } catch (const CddbError& e) {
        EXPECT_STREQ(e.what(), "There is no CD drive /dev/no-such-cd-drive.");
    }
    // Something that exists but is no drive with a disc.
    wb::TempDir dir("cddb");
    WriteBytes(dir / "sr0", "x");
    try {
        ReadDiskInfo(dir / "sr0");
        FAIL();
    } catch (const CddbError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("The drive " + (dir / "sr0") + " holds no disc", 0), 0u) << e.what();
    }
}

struct VirtualCase {
    std::string name;
    std::vector<int> durations;
    std::string line;  // the request line
};
std::ostream& operator<<(std::ostream& os, const VirtualCase& c) { return os << c.name; }
class VirtualDiscTest : public testing::TestWithParam<VirtualCase> {};

TEST_P(VirtualDiscTest, GivesTheRequestLine) {
    EXPECT_EQ(RequestLine(VirtualDiscInfo(GetParam().durations)), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VirtualDiscTest,
    testing::Values(VirtualCase{"TwoFilesAsTheTwoTrackCd", {178, 120}, "0b012a02 2 150 13500 300"},
                    VirtualCase{"OneFileHasOneOffset", {61}, "02003d01 1 150 63"},
                    VirtualCase{"AnUnreadableDurationCountsAsNone", {0, 10}, "04000a02 2 150 150 12"}),
    RowName<VirtualCase>);

TEST(VirtualDisc, RefusesNoTracksAndDiscsTooLongForTheId) {
    EXPECT_THROW(VirtualDiscInfo({}), CddbError);
    EXPECT_THROW(VirtualDiscInfo({65535, 1}), CddbError);
    EXPECT_NO_THROW(VirtualDiscInfo({65535}));
}

#ifdef WB_HAVE_LIBCDDB
// Debian's CDDB library over the same offsets and length.
std::string LibCddbId(const std::vector<std::string>& offsets, const std::string& seconds) {
    cddb_disc_t* disc = cddb_disc_new();
    for (const auto& o : offsets) {
        cddb_track_t* t = cddb_track_new();
        cddb_track_set_frame_offset(t, std::stoi(o));
        cddb_disc_add_track(disc, t);
    }
    cddb_disc_set_length(disc, std::stoi(seconds));
    cddb_disc_calc_discid(disc);
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", cddb_disc_get_discid(disc));
    cddb_disc_destroy(disc);
    return buf;
}

TEST(DiscIdAgainstLibCddb, RandomTablesOfContentsAndVirtualCds) {
    std::mt19937 rng(1706);
    for (int round = 0; round < 500; ++round) {
        const int tracks = std::uniform_int_distribution<int>(1, 99)(rng);
        wb::media::CdToc toc;
        uint32_t lba = std::uniform_int_distribution<uint32_t>(0, 3000)(rng);
        std::vector<int> durations;
        for (int t = 0; t < tracks; ++t) {
            toc.trackStarts.push_back(lba);
            int len = std::uniform_int_distribution<int>(4 * 75, 600 * 75)(rng);
            durations.push_back(len / 75);
            lba += uint32_t(len);
        }
        toc.leadOut = lba;
        TDiskInfoRec cd = MakeDiscInfo(CdReportFromToc(toc));
        ASSERT_EQ(cd.DiscId, LibCddbId(cd.Offsets, cd.TotalSeconds)) << RequestLine(cd);
        TDiskInfoRec virt = VirtualDiscInfo(durations);
        ASSERT_EQ(virt.DiscId, LibCddbId(virt.Offsets, virt.TotalSeconds)) << RequestLine(virt);
    }
}
#endif

struct LineCase {
    std::string name;
    std::string line;
    bool valid;
};
std::ostream& operator<<(std::ostream& os, const LineCase& c) { return os << c.name; }
class RequestLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(RequestLineTest, IsParsedWithItsFieldsBounded) {
    auto disc = ParseRequestLine(GetParam().line);
    ASSERT_EQ(disc.has_value(), GetParam().valid);
    if (disc) {
        EXPECT_EQ(RequestLine(*disc), GetParam().line);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RequestLineTest,
    testing::Values(LineCase{"TwoTracks", "0b012a02 2 150 13500 300", true},
                    LineCase{"UpperCaseId", "0B012A02 2 150 13500 300", true},
                    LineCase{"ZeroTracks", "0b012a02 0 300", false},
                    LineCase{"HundredTracks", "0b012a02 100 150 300", false},
                    LineCase{"CountAboveTheOffsets", "0b012a02 3 150 13500 300", false},
                    LineCase{"AnExtraField", "0b012a02 1 150 13500 300", false},
                    LineCase{"ShortId", "b012a02 2 150 13500 300", false},
                    LineCase{"IdNotHex", "0b012z02 2 150 13500 300", false},
                    LineCase{"OffsetNotANumber", "0b012a02 2 150 1350x 300", false},
                    LineCase{"HugeNumber", "0b012a02 1 150 99999999999999999999", false},
                    LineCase{"Empty", "", false}),
    RowName<LineCase>);

TEST(RequestQueue, QueuesADiscOnceAndKeepsItsFileInOrder) {
    wb::TempDir dir("cddbreq");
    const std::string path = dir / "CDDB.Req";
    TCddbRequests queue;
    auto two = *ParseRequestLine("0b012a02 2 150 13500 300");
    auto one = VirtualDiscInfo({61});
    EXPECT_TRUE(queue.Add(two));
    EXPECT_TRUE(queue.Add(one));
    auto upper = two;
    upper.DiscId = "0B012A02";
    EXPECT_FALSE(queue.Add(upper));  // letter case aside, the same line
    EXPECT_EQ(queue.Count(), 2);
    queue.Save(path);
    EXPECT_EQ(ReadBytes(path), "0b012a02 2 150 13500 300\r\n02003d01 1 150 63\r\n");

    // A hand-edited file: a broken line is named, kept and written back.
    WriteBytes(path, "0b012a02 2 150 13500 300\r\n0b012a02 0 300\n\r\n02003d01 1 150 63");
    TCddbRequests loaded;
    auto problems = loaded.Load(path);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "Line 2 of " + path + " is no CDDB request; it stays in the file and is not sent.");
    EXPECT_EQ(loaded.Lines(), (std::vector<std::string>{"0b012a02 2 150 13500 300", "02003d01 1 150 63"}));
    loaded.PopFront();
    loaded.PopFront();
    loaded.Save(path);
    EXPECT_EQ(ReadBytes(path), "0b012a02 0 300\r\n");

    TCddbRequests empty;
    EXPECT_TRUE(empty.Load(dir / "missing").empty());
    empty.Save(path);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_NO_THROW(empty.Save(path));  // nothing to delete is fine
}

struct ListCase {
    std::string name;
    std::vector<int> tracks;
    bool byTrack;
    std::vector<std::string> names;  // row order
};
std::ostream& operator<<(std::ostream& os, const ListCase& c) { return os << c.name; }
class VirtualListTest : public testing::TestWithParam<ListCase> {};

TEST_P(VirtualListTest, OrdersByTrackNumberOnlyWhenEveryFileHasOne) {
    const std::vector<std::string> files{"a.mp3", "b.mp3", "c.mp3"};
    TVirtualList list = BuildVirtualList(files, GetParam().tracks, {10, 20, 30});
    EXPECT_EQ(list.ByTrackNumber, GetParam().byTrack);
    std::vector<std::string> names;
    for (const auto& row : list.Rows) names.push_back(row.FileName);
    EXPECT_EQ(names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VirtualListTest,
    testing::Values(ListCase{"AllNumbered", {3, 1, 2}, true, {"b.mp3", "c.mp3", "a.mp3"}},
                    ListCase{"OneWithoutNumber", {3, 0, 2}, false, {"a.mp3", "b.mp3", "c.mp3"}},
                    ListCase{"NumberAboveTheCount", {1, 2, 4}, false, {"a.mp3", "b.mp3", "c.mp3"}},
                    ListCase{"SameNumberTwiceLeavesARowEmpty", {1, 1, 3}, true, {"b.mp3", "", "c.mp3"}}),
    RowName<ListCase>);

TEST(VirtualList, UncheckedRowsLeaveTheNumberingAndTheId) {
    TVirtualList list = BuildVirtualList({"a.mp3", "b.mp3", "c.mp3"}, {}, {178, 50, 120});
    list.Rows[1].Used = false;
    EXPECT_EQ(list.Numbers(), (std::vector<std::string>{"01", " ", "02"}));
    EXPECT_EQ(list.UsedCount(), 2);
    EXPECT_EQ(list.Disc().DiscId, "0b012a02");
    for (auto& row : list.Rows) row.Used = false;
    try {
        list.Disc();
        FAIL();
    } catch (const CddbError& e) {
        EXPECT_STREQ(e.what(), kNoVirtualTracksText);
    }
}

} // namespace
