#include "tag_editor/controls/grid/GridSort.h"

#include <algorithm>
#include <random>
#include <stdexcept>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

std::vector<TSortedListEntry> Entries(std::vector<std::string> texts, int firstRow = 1) {
    std::vector<TSortedListEntry> e;
    for (auto& t : texts) e.push_back({t, firstRow + int(e.size())});
    return e;
}

std::vector<int> Indices(const std::vector<TSortedListEntry>& e) {
    std::vector<int> out;
    for (auto& x : e) out.push_back(x.Index);
    return out;
}

TSortOptions Opts(std::uint8_t kind, bool descending = false, bool caseSensitive = false,
                  TSortCompareFunc func = nullptr) {
    TSortOptions o;
    o.SortKind = kind;
    o.Descending = descending;
    o.CaseSensitive = caseSensitive;
    o.CompareFunc = std::move(func);
    return o;
}

wb::FormatSettings Fixed() {
    wb::FormatSettings fs;
    fs.currentYear = 2026;
    return fs;
}

TEST(GridSortTest, DetectionOfEachKind) {
    EXPECT_EQ(DetectSortKind({"1", "", "3"}, Fixed()), skText);  // an empty cell is no number
    EXPECT_EQ(DetectSortKind({"10", "9", "100"}, Fixed()), skNumeric);
    EXPECT_EQ(DetectSortKind({"-1.5", "2e3", " 7 "}, Fixed()), skNumeric);
    EXPECT_EQ(DetectSortKind({"2024-01-05", "1999-12-31"}, Fixed()), skDateTime);
    EXPECT_EQ(DetectSortKind({"2024-01-05", "1999-12-31 10:00"}, Fixed()), skText);
    EXPECT_EQ(DetectSortKind({}, Fixed()), skNumeric);
    wb::FormatSettings de = Fixed();
    de.decimalSeparator = ',';
    de.dateSeparator = '.';
    de.dateOrder = wb::DateOrder::DMY;
    EXPECT_EQ(DetectSortKind({"1,5", "2"}, de), skNumeric);
    EXPECT_EQ(DetectSortKind({"1.5", "2.5"}, de), skDateTime);  // 1 and 2 May this year
    EXPECT_EQ(DetectSortKind({"24.12.2025", "1.1.2026"}, de), skDateTime);
}

// Texts of a column in rows 1..n, sorted with the options: the rows in their new order.
TEST(GridSortTest, EntriesSortByTheirKind) {
    auto byLength = [](const std::string& a, const std::string& b) { return int(a.size()) - int(b.size()); };
    const struct {
        const char* name;
        std::vector<std::string> texts;
        TSortOptions options;
        std::vector<int> rows;
    } cases[] = {
        {"NumbersAsNumbers", {"10", "9", "100"}, Opts(skNumeric), {2, 1, 3}},
        {"NumbersAsText", {"10", "9", "100"}, Opts(skText), {1, 3, 2}},
        {"UnknownKindAsText", {"10", "9", "100"}, Opts(9), {1, 3, 2}},
        {"DatesAndTimesChronologically", {"2024-03-01 12:00", "2023-12-31", "2024-03-01 08:30", "07:00"},
         Opts(skDateTime), {4, 2, 3, 1}},
        {"CaseIgnored", {"b", "A", "a"}, Opts(skText), {2, 3, 1}},
        {"CaseCounted", {"b", "A", "a"}, Opts(skText, false, true), {2, 3, 1}},
        {"CaseCountedUpperFirstPrefixFirst", {"a", "B", "ab", ""}, Opts(skText, false, true), {4, 2, 1, 3}},
        {"TiesKeptDescending", {"2", "1", "2", "1", "3"}, Opts(skNumeric, true), {5, 1, 3, 2, 4}},
        {"TiesKeptAscending", {"x", "y", "x"}, Opts(skText), {1, 3, 2}},
        {"CompareFunctionDecides", {"ccc", "a", "bb", "d"}, Opts(skCompareFunc, false, true, byLength), {2, 4, 3, 1}},
        {"NoCompareFunctionIsText", {"b", "a"}, Opts(skCompareFunc), {2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto e = Entries(c.texts);
        SortEntries(e, c.options, Fixed());
        EXPECT_EQ(Indices(e), c.rows);
    }
    auto e = Entries({"b", "A", "a"});
    SortEntries(e, Opts(skText), Fixed());
    EXPECT_EQ(e[1].Text, "A");  // the sort list keeps the upper-cased key
}

TEST(GridSortTest, ContradictoryComparersStillGiveEveryRowOnce) {
    std::mt19937 rng(7);
    std::vector<std::string> texts;
    for (int i = 0; i < 2000; ++i)
        texts.push_back(i % 3 ? std::to_string(rng() % 100) : "x" + std::to_string(rng() % 10));
    auto coin = [&rng](const std::string&, const std::string&) { return int(rng() % 3) - 1; };
    for (TSortOptions o : {Opts(skNumeric),  // text cells fail and tie with all
                           Opts(skDateTime, true),
                           Opts(skCompareFunc, false, false, coin)}) {
        auto e = Entries(texts, 0);
        SortEntries(e, o, Fixed());
        auto idx = Indices(e);
        std::sort(idx.begin(), idx.end());
        for (int i = 0; i < int(idx.size()); ++i) ASSERT_EQ(idx[i], i) << "kind " << int(o.SortKind);
    }
}

TEST(GridSortTest, ThrowingCompareFunctionLeavesTheOrder) {
    int calls = 0;
    auto fails = [&calls](const std::string&, const std::string&) -> int {
        if (++calls > 5) throw std::runtime_error("stop");
        return 1;
    };
    auto e = Entries({"d", "c", "b", "a", "e", "f", "g", "h"});
    EXPECT_THROW(SortEntries(e, Opts(skCompareFunc, false, true, fails), Fixed()),
                 std::runtime_error);
    EXPECT_EQ(Indices(e), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(GridSortTest, MergeSortIsStableLikeTheStandardOne) {
    std::mt19937 rng(3);
    for (int n : {0, 1, 2, 23, 24, 25, 47, 48, 49, 1000, 4099}) {
        std::vector<std::pair<int, int>> a;
        for (int i = 0; i < n; ++i) a.push_back({int(rng() % 17), i});
        auto b = a;
        auto byKey = [](const auto& x, const auto& y) { return x.first < y.first; };
        StableMergeSort(a, byKey);
        std::stable_sort(b.begin(), b.end(), byKey);
        EXPECT_EQ(a, b) << n;
    }
}

} // namespace

namespace {

// A column of texts with many ties, in rows given in some order, sorted as
// the grid sorts it; the reference is std::stable_sort over the rows in
// Index order with the same reading of each text.
struct StableCase {
    const char* name;
    std::uint8_t kind;
    bool descending;
    bool shuffled;     // the entries do not come in Index order
    bool givenNumbers; // the numbers come from kind detection
};

void PrintTo(const StableCase& c, std::ostream* os) { *os << c.name; }

class GridSortStable : public ::testing::TestWithParam<StableCase> {};

TEST_P(GridSortStable, TiesKeepTheOrderOfTheirRows) {
    const StableCase& t = GetParam();
    std::mt19937 rng(11);
    const std::vector<std::string> pool = t.kind == skNumeric
        ? std::vector<std::string>{"-0", "0", "-1.5", "2", "1e3", "-1e-3", "7", "0.5", "-7"}
        : std::vector<std::string>{"b", "A", "a", "ab", "", "B"};
    std::vector<TSortedListEntry> e;
    for (int i = 0; i < 3000; ++i) e.push_back({pool[rng() % pool.size()], i + 1});
    if (t.shuffled) std::shuffle(e.begin(), e.end(), rng);
    const wb::FormatSettings fs = Fixed();
    auto key = [&](const TSortedListEntry& x) {
        double v = 0;
        wb::TryStrToFloat(x.Text, v, fs);
        return v;
    };
    auto ref = e;
    std::sort(ref.begin(), ref.end(), [](const auto& a, const auto& b) { return a.Index < b.Index; });
    std::stable_sort(ref.begin(), ref.end(), [&](const auto& a, const auto& b) {
        if (t.kind != skNumeric) return t.descending ? a.Text > b.Text : a.Text < b.Text;
        return t.descending ? key(a) > key(b) : key(a) < key(b);
    });
    std::vector<double> numbers;
    if (t.givenNumbers) {
        ASSERT_EQ(DetectSortKindOf(int(e.size()), [&](int i) -> const std::string& { return e[i].Text; }, fs, &numbers),
                  skNumeric);
    }
    SortEntries(e, Opts(t.kind, t.descending, true), fs, t.givenNumbers ? &numbers : nullptr);
    EXPECT_EQ(Indices(e), Indices(ref));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, GridSortStable,
    ::testing::Values(StableCase{"Numbers", skNumeric, false, false, false},
                      StableCase{"NumbersDescending", skNumeric, true, false, false},
                      StableCase{"NumbersOutOfRowOrder", skNumeric, false, true, false},
                      StableCase{"NumbersOutOfRowOrderDescending", skNumeric, true, true, false},
                      StableCase{"NumbersReadByDetection", skNumeric, false, false, true},
                      StableCase{"Texts", skText, false, false, false},
                      StableCase{"TextsDescending", skText, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
