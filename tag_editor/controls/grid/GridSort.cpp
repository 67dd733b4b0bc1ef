#include "tag_editor/controls/grid/GridSort.h"

#include <bit>
#include <cmath>
#include <string_view>
#include <utility>

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

// Numbers that all converted are sorted by their bits, least significant
// digit first: each pass is stable, so ties keep the order the keys come in,
// and there is no comparer to contradict itself. Faster than any comparison
// sort at grid sizes.
struct BitsKey {
    std::uint64_t bits;
    int pos;
};

// The bits of a number as an unsigned integer in the number's order.
std::uint64_t OrderedBits(double v) {
    if (v == 0) v = 0;  // -0 ties with 0
    const auto b = std::bit_cast<std::uint64_t>(v);
    return b >> 63 ? ~b : b | (std::uint64_t(1) << 63);
}

void RadixSort(std::vector<BitsKey>& keys) {
    constexpr int kDigit = 11;
    constexpr std::uint64_t kMask = (1u << kDigit) - 1;
    std::vector<BitsKey> buffer(keys.size());
    std::vector<size_t> start(kMask + 1);
    for (int shift = 0; shift < 64; shift += kDigit) {
        std::fill(start.begin(), start.end(), 0);
        for (const BitsKey& k : keys) ++start[(k.bits >> shift) & kMask];
        // A digit that all keys share moves nothing.
        if (std::find(start.begin(), start.end(), keys.size()) != start.end()) continue;
        size_t sum = 0;
        for (size_t& s : start) sum += std::exchange(s, sum);
        for (const BitsKey& k : keys) buffer[start[(k.bits >> shift) & kMask]++] = k;
        keys.swap(buffer);
    }
}

// Equal numbers keep the order of their Index: the keys go into the radix
// sort in that order.
std::vector<int> SortedByNumber(const std::vector<TSortedListEntry>& entries, const std::vector<double>& values,
                                bool descending) {
    const int n = int(entries.size());
    std::vector<BitsKey> keys(n);
    for (int i = 0; i < n; ++i) keys[i].pos = i;
    auto indexLess = [&](const BitsKey& a, const BitsKey& b) { return entries[a.pos].Index < entries[b.pos].Index; };
    if (!std::is_sorted(keys.begin(), keys.end(), indexLess)) std::stable_sort(keys.begin(), keys.end(), indexLess);
    for (BitsKey& k : keys) {
        const std::uint64_t bits = OrderedBits(values[k.pos]);
        k.bits = descending ? ~bits : bits;
    }
    RadixSort(keys);
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i) order[i] = keys[i].pos;
    return order;
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
                 const wb::FormatSettings& fs, const std::vector<double>* numbers) {
    if (!options.CaseSensitive)
        for (auto& e : entries) UpperAscii(e.Text);
    const int n = int(entries.size());
    std::vector<int> order;
    if (options.SortKind == skNumeric || options.SortKind == skDateTime) {
        const bool given = options.SortKind == skNumeric && numbers && int(numbers->size()) == n;
        std::vector<double> values = given ? *numbers : std::vector<double>(n);
        std::vector<bool> ok(n, true);
        bool allOk = true;
        for (int i = 0; i < n; ++i) {
            if (!given)
                ok[i] = options.SortKind == skNumeric ? wb::TryStrToFloat(entries[i].Text, values[i], fs)
                                                      : wb::TryStrToDateTime(entries[i].Text, values[i], fs);
            // Not a number is not ordered: it ties with everything, as a failed text does.
            ok[i] = ok[i] && !std::isnan(values[i]);
            allOk = allOk && ok[i];
        }
        if (allOk) {
            order = SortedByNumber(entries, values, options.Descending);
        } else {
            std::vector<NumberKey> keys(n);
            for (int i = 0; i < n; ++i) keys[i] = {ok[i] ? values[i] : 0, entries[i].Index, i};
            // A text that does not convert equals everything.
            order = SortedPositions(keys, options.Descending, [&](const NumberKey& a, const NumberKey& b) {
                return ok[a.pos] && ok[b.pos] ? (a.value > b.value) - (a.value < b.value) : 0;
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
