#include "tag_editor/controls/grid/GridHeader.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "platform/base/TextUtil.h"

namespace velmora {

namespace {

bool Has(TSortPopUpSet set, int tag) { return set & (1u << tag); }

bool ValidIndex(const THeaderEntryList& list, int i) { return i >= 0 && i < int(list.size()); }

} // namespace

std::vector<int> HeaderMenuLayout(TSortPopUpSet set, int fixedRows) {
    std::vector<int> items;
    auto group = [&](std::initializer_list<int> tags) {
        bool any = std::any_of(tags.begin(), tags.end(), [&](int t) { return Has(set, t); });
        if (!any) return;
        if (!items.empty()) items.push_back(kMenuSeparator);
        for (int t : tags)
            if (Has(set, t)) items.push_back(t);
    };
    for (int t : {TagAscending, TagDescending})
        if (Has(set, t)) items.push_back(t);
    group({TagMaxColWidth, TagAllMaxColWidth, TagColSearch, TagAllColSearch});
    if (fixedRows > 0) group({TagColConfigWin});
    return items;
}

std::string HeaderMenuCaption(int tag) {
    switch (tag) {
    case TagAscending: return "Nach Spalte aufsteigend sortieren";
    case TagDescending: return "Nach Spalte absteigend sortieren";
    case TagMaxColWidth: return "Spaltenbreite anpassen";
    case TagAllMaxColWidth: return "Alle Spaltenbreiten anpassen";
    case TagColSearch: return "In Spalte suchen";
    case TagAllColSearch: return "In Tabelle suchen";
    case TagColConfigWin: return "Spaltenkonfiguration";
    default: return "-";
    }
}

THeaderEntry& EntryOf(const THeaderItem& item) {
    if (!item.Entry) throw std::runtime_error("Objektlink verloren");
    return *item.Entry;
}

int VisibleHeaderCount(const THeaderEntryList& list) {
    int count = int(list.size());
    for (int i = count - 1; i >= 1; --i) {
        if (EntryOf(list[i]).State != hsHidden) break;
        --count;
    }
    return count;
}

int SettledColumnWidth(int current, int entryWidth) {
    if (entryWidth < 0) return std::max(kMinColumnWidth, std::abs(entryWidth));
    return std::max(kMinColumnWidth, current);
}

int AppliedColumnCount(int shownEntries, int fixedCols) { return std::max(shownEntries, fixedCols + 1); }

int MovedIndex(int index, int from, int to) {
    if (index == from) return to;
    if (from < to && index > from && index <= to) return index - 1;
    if (from > to && index >= to && index < from) return index + 1;
    return index;
}

std::optional<TCellPos> FindCell(const std::string& text, int col, int colCount, int rowCount,
                                 const std::function<const std::string&(int col, int row)>& cellAt) {
    if (col >= colCount) return std::nullopt;
    const int first = col < 0 ? 0 : col, last = col < 0 ? colCount - 1 : col;
    for (int c = first; c <= last; ++c)
        for (int r = 0; r < rowCount; ++r)
            if (wb::SameText(cellAt(c, r), text)) return TCellPos{c, r};
    return std::nullopt;
}

bool MoveWithin(THeaderEntryList& list, int from, int to) {
    if (!ValidIndex(list, from) || to < 0) return false;
    to = std::min(to, int(list.size()) - 1);
    THeaderItem item = std::move(list[from]);
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, std::move(item));
    return true;
}

bool MoveAcross(THeaderEntryList& source, int from, THeaderEntryList& target, int at) {
    if (&source == &target || !ValidIndex(source, from)) return false;
    if (at < 0 || at > int(target.size())) at = int(target.size());
    target.insert(target.begin() + at, std::move(source[from]));
    source.erase(source.begin() + from);
    return true;
}

bool ExchangeWithNeighbour(THeaderEntryList& list, int index, int direction) {
    const int other = index + direction;
    if (direction == 0 || !ValidIndex(list, index) || !ValidIndex(list, other)) return false;
    std::swap(list[index], list[other]);
    return true;
}

THeaderEntryList JoinHeaderLists(const THeaderEntryList& shown, const THeaderEntryList& hidden) {
    // Every entry is checked before any is marked.
    for (const auto& item : shown) EntryOf(item);
    for (const auto& item : hidden) EntryOf(item);
    THeaderEntryList list;
    list.reserve(shown.size() + hidden.size());
    for (const auto& item : shown) {
        THeaderEntry& e = EntryOf(item);
        if (e.State == hsHidden) e.State = hsShown;
        list.push_back(item);
    }
    for (const auto& item : hidden) {
        THeaderEntry& e = EntryOf(item);
        if (e.State == hsShown) e.State = hsHidden;
        list.push_back(item);
    }
    return list;
}

void SplitHeaderList(const THeaderEntryList& list, THeaderEntryList& shown, THeaderEntryList& hidden) {
    shown.clear();
    hidden.clear();
    for (const auto& item : list) (EntryOf(item).State == hsHidden ? hidden : shown).push_back(item);
}

} // namespace velmora
