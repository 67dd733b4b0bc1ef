#pragma once
// What the sortable grid's header row offers, apart from any window: the
// items of its popup menu, the header-entry list that the column dialog
// edits, the rules a column width obeys, the search for a cell text and the
// list moves of the column dialog.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

enum TSortPopUpItemsTag : std::uint8_t {
    TagAscending, TagDescending, TagMaxColWidth, TagAllMaxColWidth, TagColSearch, TagAllColSearch, TagColConfigWin
};
// A set of menu items: bit n stands for the item with ordinal n.
using TSortPopUpSet = unsigned;
constexpr TSortPopUpSet SortPopUpItem(TSortPopUpItemsTag tag) { return 1u << tag; }

// The menu as a list of item tags; a separator is kMenuSeparator. The
// configuration item needs a header row to configure, so it is left out
// without fixed rows.
constexpr int kMenuSeparator = -1;
std::vector<int> HeaderMenuLayout(TSortPopUpSet set, int fixedRows);
// The caption of a tag of HeaderMenuLayout ("-" for the separator).
std::string HeaderMenuCaption(int tag);

enum : std::uint8_t { hsFixed = 0, hsShown = 1, hsHidden = 2 };

struct THeaderEntry {
    std::uint8_t State = hsShown;  // hsFixed: shown, the user may neither hide nor move it
    int Width = 0;                 // 0: fit when applied; > 0: width; < 0: locked at the absolute value
    int UserValue = 0;             // the caller's; the grid does not interpret it
};

// A caption with its entry. The grid's list owns the entries; the column
// dialog's two lists share them while it runs.
struct THeaderItem {
    std::string Caption;
    std::shared_ptr<THeaderEntry> Entry;
};
using THeaderEntryList = std::vector<THeaderItem>;

// The entry of an item; a list that lost one raises "Objektlink verloren".
THeaderEntry& EntryOf(const THeaderItem& item);

// The number of entries less the hidden ones at the end; entry 0 always counts.
int VisibleHeaderCount(const THeaderEntryList& list);

// Columns below this width are widened to it.
constexpr int kMinColumnWidth = 10;
// The width a column settles at under its entry's width: at least the
// minimum, and a locked column at its locked width. A lock below the
// minimum holds at the minimum, so the two rules never undo each other.
int SettledColumnWidth(int current, int entryWidth);
// The column count that applying n shown entries leaves: never so few that
// no data column remains beside the fixed ones.
int AppliedColumnCount(int shownEntries, int fixedCols);

// Where the item at index ends up when the item at from moves to to and
// those between shift by one.
int MovedIndex(int index, int from, int to);

struct TCellPos {
    int Col = 0, Row = 0;
    bool operator==(const TCellPos&) const = default;
};
// The first cell whose whole text equals text, ignoring case: in column col,
// or with col < 0 column by column from 0; rows from 0 down, fixed ones
// included. A column outside the grid holds nothing.
std::optional<TCellPos> FindCell(const std::string& text, int col, int colCount, int rowCount,
                                 const std::function<const std::string&(int col, int row)>& cellAt);

// The column dialog's moves. Each returns false and changes nothing when
// the move cannot be made.
// Moves item from to position to; a to past the end means the last position.
bool MoveWithin(THeaderEntryList& list, int from, int to);
// Moves item from of source into target at position at; at < 0 or past the
// end appends.
bool MoveAcross(THeaderEntryList& source, int from, THeaderEntryList& target, int at);
// Exchanges item index with its neighbour in direction (-1 up, 1 down).
bool ExchangeWithNeighbour(THeaderEntryList& list, int index, int direction);
// The header-entry list the dialog's two lists stand for: the shown ones,
// then the hidden ones, each marked as its list says (fixed ones stay fixed).
THeaderEntryList JoinHeaderLists(const THeaderEntryList& shown, const THeaderEntryList& hidden);
// The shown (fixed and shown) and the hidden items of list, in list order.
void SplitHeaderList(const THeaderEntryList& list, THeaderEntryList& shown, THeaderEntryList& hidden);

} // namespace velmora
