#include "tag_editor/controls/grid/GridHeader.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace velmora;

namespace {

constexpr TSortPopUpSet kDefaultSet =
    SortPopUpItem(TagAscending) | SortPopUpItem(TagDescending) | SortPopUpItem(TagMaxColWidth);
constexpr TSortPopUpSet kAllSet = 0x7F;

// ---- menu -------------------------------------------------------------------

struct MenuCase {
    const char* name;
    TSortPopUpSet set;
    int fixedRows;
    std::vector<std::string> captions;
};

class HeaderMenu : public ::testing::TestWithParam<MenuCase> {};

TEST_P(HeaderMenu, ShowsTheItemsOfItsSetInOrder) {
    std::vector<std::string> captions;
    for (int tag : HeaderMenuLayout(GetParam().set, GetParam().fixedRows)) captions.push_back(HeaderMenuCaption(tag));
    EXPECT_EQ(captions, GetParam().captions);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, HeaderMenu,
    ::testing::Values(
        MenuCase{"Default", kDefaultSet, 1,
                 {"Nach Spalte aufsteigend sortieren", "Nach Spalte absteigend sortieren", "-",
                  "Spaltenbreite anpassen"}},
        MenuCase{"OnlyColumnSearchHasNoLeadingSeparator", SortPopUpItem(TagColSearch), 1, {"In Spalte suchen"}},
        MenuCase{"Empty", 0, 1, {}},
        MenuCase{"All", kAllSet, 1,
                 {"Nach Spalte aufsteigend sortieren", "Nach Spalte absteigend sortieren", "-",
                  "Spaltenbreite anpassen", "Alle Spaltenbreiten anpassen", "In Spalte suchen", "In Tabelle suchen",
                  "-", "Spaltenkonfiguration"}},
        MenuCase{"AllWithoutHeaderRowHasNoConfiguration", kAllSet, 0,
                 {"Nach Spalte aufsteigend sortieren", "Nach Spalte absteigend sortieren", "-",
                  "Spaltenbreite anpassen", "Alle Spaltenbreiten anpassen", "In Spalte suchen", "In Tabelle suchen"}},
        MenuCase{"DescendingAndConfiguration", SortPopUpItem(TagDescending) | SortPopUpItem(TagColConfigWin), 2,
                 {"Nach Spalte absteigend sortieren", "-", "Spaltenkonfiguration"}},
        MenuCase{"OnlyConfiguration", SortPopUpItem(TagColConfigWin), 1, {"Spaltenkonfiguration"}},
        MenuCase{"TableSearchAndFitAll", SortPopUpItem(TagAllColSearch) | SortPopUpItem(TagAllMaxColWidth), 1,
                 {"Alle Spaltenbreiten anpassen", "In Tabelle suchen"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- widths -----------------------------------------------------------------

struct WidthCase {
    const char* name;
    int current, entryWidth, settled;
};

class ColumnWidthRule : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ColumnWidthRule, SettlesAndStaysSettled) {
    const auto& c = GetParam();
    const int settled = SettledColumnWidth(c.current, c.entryWidth);
    EXPECT_EQ(settled, c.settled);
    // A second step must not move it again, or the step would fight itself.
    EXPECT_EQ(SettledColumnWidth(settled, c.entryWidth), settled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColumnWidthRule,
    ::testing::Values(WidthCase{"FreeColumnKeepsItsWidth", 64, 0, 64}, WidthCase{"FreeColumnBelowMinimum", 4, 120, 10},
                      WidthCase{"FreeColumnAtMinimum", 10, 0, 10}, WidthCase{"LockedColumnSnapsBack", 140, -80, 80},
                      WidthCase{"LockedColumnDraggedBelowMinimum", 3, -80, 80},
                      WidthCase{"LockBelowMinimumHoldsAtMinimum", 5, -5, 10},
                      WidthCase{"LockBelowMinimumFromWide", 200, -5, 10}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- search -----------------------------------------------------------------

struct SearchCase {
    const char* name;
    std::string text;
    int col;
    std::optional<TCellPos> found;
};

class CellSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(CellSearch, FindsTheWholeTextIgnoringCase) {
    const std::vector<std::vector<std::string>> cols = {
        {"Titel", "Intro", "abc"}, {"Interpret", "ABC", "Ärger"}, {"Jahr", "1971", "ABC"}};
    auto cell = [&](int c, int r) -> const std::string& { return cols[c][r]; };
    EXPECT_EQ(FindCell(GetParam().text, GetParam().col, 3, 3, cell), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellSearch,
    ::testing::Values(SearchCase{"OtherCaseInColumn", "abc", 1, TCellPos{1, 1}},
                      SearchCase{"PartOfATextIsNoMatch", "ab", 1, std::nullopt},
                      SearchCase{"WholeTableStopsAtFirstColumnWithAMatch", "ABC", -1, TCellPos{0, 2}},
                      SearchCase{"FixedRowsAreSearched", "jahr", 2, TCellPos{2, 0}},
                      SearchCase{"UmlautsIgnoreCase", "äRGER", -1, TCellPos{1, 2}},
                      SearchCase{"ColumnPastTheCountFindsNothing", "abc", 3, std::nullopt},
                      SearchCase{"ColumnFarPastTheCountFindsNothing", "abc", 1000, std::nullopt},
                      SearchCase{"NotThere", "Outro", -1, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- header entries -----------------------------------------------------------

THeaderEntryList Entries(const std::string& states) {
    THeaderEntryList list;
    for (char s : states) {
        const std::string caption(1, char('A' + list.size()));
        if (s == '-') list.push_back({caption, nullptr});
        else list.push_back({caption, std::make_shared<THeaderEntry>(THeaderEntry{std::uint8_t(s - '0'), 0, 0})});
    }
    return list;
}

std::string Captions(const THeaderEntryList& list) {
    std::string out;
    for (const auto& item : list) out += item.Caption + (item.Entry ? char('0' + item.Entry->State) : '-');
    return out;
}

TEST(VisibleHeaderCount, LeavesOutTheTrailingHiddenEntries) {
    struct Row { const char* states; int count; };
    for (Row r : {Row{"", 0}, Row{"111", 3}, Row{"0122", 2}, Row{"2222", 1}, Row{"1212", 3}, Row{"-11", 3},
                  Row{"-22", 1}})
        EXPECT_EQ(VisibleHeaderCount(Entries(r.states)), r.count) << r.states;
    try {
        VisibleHeaderCount(Entries("12-2"));
        FAIL() << "a lost entry went unnoticed";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Objektlink verloren");
    }
}

struct MoveCase {
    const char* name;
    std::function<bool(THeaderEntryList& shown, THeaderEntryList& hidden)> move;
    bool moved;
    std::string shown, hidden;
};

class DialogMove : public ::testing::TestWithParam<MoveCase> {};

TEST_P(DialogMove, MovesItemsAndLosesNone) {
    THeaderEntryList shown = Entries("0111"), hidden = Entries("22");
    for (auto& h : hidden) h.Caption = std::string(1, char(h.Caption[0] + 'x' - 'A'));
    EXPECT_EQ(GetParam().move(shown, hidden), GetParam().moved);
    EXPECT_EQ(Captions(shown), GetParam().shown);
    EXPECT_EQ(Captions(hidden), GetParam().hidden);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogMove,
    ::testing::Values(
        MoveCase{"WithinPastTheEndGoesLast", [](auto& s, auto&) { return MoveWithin(s, 0, 99); }, true, "B1C1D1A0",
                 "x2y2"},
        MoveCase{"WithinFromNowhere", [](auto& s, auto&) { return MoveWithin(s, 4, 0); }, false, "A0B1C1D1", "x2y2"},
        MoveCase{"AcrossPastTheEndAppends", [](auto& s, auto& h) { return MoveAcross(h, 1, s, 9); }, true,
                 "A0B1C1D1y2", "x2"},
        MoveCase{"AcrossFromAnEmptyList",
                 [](auto& s, auto& h) {
                     h.clear();
                     return MoveAcross(h, 0, s, 0);
                 },
                 false, "A0B1C1D1", ""},
        MoveCase{"ExchangeUp", [](auto&, auto& h) { return ExchangeWithNeighbour(h, 1, -1); }, true, "A0B1C1D1",
                 "y2x2"},
        MoveCase{"ExchangeWithoutNeighbour", [](auto& s, auto&) { return ExchangeWithNeighbour(s, 0, -1); }, false,
                 "A0B1C1D1", "x2y2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderLists, SplitAndJoinMarkEachEntryByItsList) {
    THeaderEntryList list = Entries("01212"), shown, hidden;
    SplitHeaderList(list, shown, hidden);
    EXPECT_EQ(Captions(shown), "A0B1D1");
    EXPECT_EQ(Captions(hidden), "C2E2");
    // The user shows C and hides B; the fixed A stays fixed.
    std::swap(shown[1], hidden[0]);
    EXPECT_EQ(Captions(JoinHeaderLists(shown, hidden)), "A0C1D1B2E2");
    // A lost entry changes no state.
    hidden.push_back({"Z", nullptr});
    EXPECT_THROW(JoinHeaderLists(shown, hidden), std::runtime_error);
    EXPECT_EQ(Captions(shown), "A0C1D1");
}

} // namespace
