#include "tag_editor/controls/GridSort.h"

#include <string_view>

namespace velmora {

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// The comparer converts each text once before sorting instead of at every
// comparison; the conversions are pure, so the order is the same.
struct NumberKey {
    double value;
    int index;
    int pos;
};

// The first eight bytes packed big-endian, so most comparisons are one
// integer comparison on data that moves with the key.
struct TextKey {
    std::uint64_t prefix;
    std::string_view text;
    int index;
    int pos;
};

std::uint64_t PrefixOf(std::string_view s) {
    std::uint64_t p = 0;
    for (size_t i = 0; i < 8; ++i) p = (p << 8) | (i < s.size() ? std::uint8_t(s[i]) : 0u);
    return p;
}

int CompareText(const TextKey& a, const TextKey& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix ? -1 : 1;
    return Sign(a.text.compare(b.text));
}

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

} // namespace

void UpperAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
}

std::uint8_t DetectSortKind(const std::vector<std::string>& texts, const wb::FormatSettings& fs) {
    return DetectSortKindOf(int(texts.size()), [&](int i) -> const std::string& { return texts[i]; }, fs);
}

void SortEntries(std::vector<TSortedListEntry>& entries, const TSortOptions& options,
                 const wb::FormatSettings& fs) {
    if (!options.CaseSensitive)
        for (auto& e : entries) UpperAscii(e.Text);
    const int n = int(entries.size());
    std::vector<int> order;
    if (options.SortKind == skNumeric || options.SortKind == skDateTime) {
        std::vector<NumberKey> keys(n);
        std::vector<bool> ok(n);
        bool allOk = true;
        for (int i = 0; i < n; ++i) {
            NumberKey& k = keys[i];
            k.value = 0;
            ok[i] = options.SortKind == skNumeric ? wb::TryStrToFloat(entries[i].Text, k.value, fs)
                                                  : wb::TryStrToDateTime(entries[i].Text, k.value, fs);
            allOk = allOk && ok[i];
            k.index = entries[i].Index;
            k.pos = i;
        }
        auto byValue = [](const NumberKey& a, const NumberKey& b) { return (a.value > b.value) - (a.value < b.value); };
        if (allOk) {
            order = SortedPositions(keys, options.Descending, byValue);
        } else {
            // A text that does not convert equals everything.
            order = SortedPositions(keys, options.Descending, [&](const NumberKey& a, const NumberKey& b) {
                return ok[a.pos] && ok[b.pos] ? byValue(a, b) : 0;
            });
        }
    } else {
        std::vector<TextKey> keys(n);
        for (int i = 0; i < n; ++i) keys[i] = {PrefixOf(entries[i].Text), entries[i].Text, entries[i].Index, i};
        if (options.SortKind == skCompareFunc && options.CompareFunc) {
            const auto& func = options.CompareFunc;
            order = SortedPositions(keys, options.Descending, [&](const TextKey& a, const TextKey& b) {
                return Sign(func(entries[a.pos].Text, entries[b.pos].Text));
            });
        } else {
            // Kind 4 without a function compares as text rather than failing.
            order = SortedPositions(keys, options.Descending, CompareText);
        }
    }
    std::vector<TSortedListEntry> sorted;
    sorted.reserve(n);
    for (int pos : order) sorted.push_back(std::move(entries[pos]));
    entries = std::move(sorted);
}

} // namespace velmora
