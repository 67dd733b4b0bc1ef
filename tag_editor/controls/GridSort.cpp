#include "tag_editor/controls/GridSort.h"

#include <string_view>

namespace {

// The comparer converts each text once before sorting instead of at every
// comparison; the conversions are pure, so the order is the same.
struct NumberKey {
    double value;
    bool ok;
    int index;
    int pos;
};

struct TextKey {
    std::string_view text;
    int index;
    int pos;
};

template <class Key, class Compare>
std::vector<int> SortedPositions(std::vector<Key>& keys, bool descending, Compare compare) {
    StableMergeSort(keys, [&](const Key& a, const Key& b) {
        int r = compare(a, b);
        if (r == 0) return a.index < b.index;
        return descending ? r > 0 : r < 0;
    });
    std::vector<int> order;
    order.reserve(keys.size());
    for (auto& k : keys) order.push_back(k.pos);
    return order;
}

int Sign(int v) { return (v > 0) - (v < 0); }

} // namespace

void UpperAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
}

std::uint8_t DetectSortKind(const std::vector<std::string>& texts, const wb::FormatSettings& fs) {
    bool numeric = true, dates = true;
    for (const auto& text : texts) {
        double v;
        if (numeric && !wb::TryStrToFloat(text, v, fs)) numeric = false;
        if (dates && !wb::TryStrToDate(text, v, fs)) dates = false;
        if (!numeric && !dates) break;
    }
    return numeric ? skNumeric : dates ? skDateTime : skText;
}

void SortEntries(std::vector<TSortedListEntry>& entries, const TSortOptions& options,
                 const wb::FormatSettings& fs) {
    if (!options.CaseSensitive)
        for (auto& e : entries) UpperAscii(e.Text);
    const int n = int(entries.size());
    std::vector<int> order;
    if (options.SortKind == skNumeric || options.SortKind == skDateTime) {
        std::vector<NumberKey> keys(n);
        for (int i = 0; i < n; ++i) {
            NumberKey& k = keys[i];
            k.value = 0;
            k.ok = options.SortKind == skNumeric ? wb::TryStrToFloat(entries[i].Text, k.value, fs)
                                                 : wb::TryStrToDateTime(entries[i].Text, k.value, fs);
            k.index = entries[i].Index;
            k.pos = i;
        }
        order = SortedPositions(keys, options.Descending, [](const NumberKey& a, const NumberKey& b) {
            if (!a.ok || !b.ok) return 0;
            return (a.value > b.value) - (a.value < b.value);
        });
    } else {
        std::vector<TextKey> keys(n);
        for (int i = 0; i < n; ++i) keys[i] = {entries[i].Text, entries[i].Index, i};
        if (options.SortKind == skCompareFunc && options.CompareFunc) {
            const auto& func = options.CompareFunc;
            order = SortedPositions(keys, options.Descending, [&](const TextKey& a, const TextKey& b) {
                return Sign(func(entries[a.pos].Text, entries[b.pos].Text));
            });
        } else {
            // Kind 4 without a function compares as text rather than failing.
            order = SortedPositions(keys, options.Descending,
                                    [](const TextKey& a, const TextKey& b) { return Sign(a.text.compare(b.text)); });
        }
    }
    std::vector<TSortedListEntry> sorted;
    sorted.reserve(n);
    for (int pos : order) sorted.push_back(std::move(entries[pos]));
    entries = std::move(sorted);
}
