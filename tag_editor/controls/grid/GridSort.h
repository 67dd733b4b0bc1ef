#pragma once
// How the sortable grid orders its rows, apart from any window: the kind of a
// column (numbers, dates, text), the comparer, and a stable merge sort that
// always returns every row exactly once, whatever the comparer says.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/FormatSettings.h"

namespace velmora {

// Negative puts A first, positive B first, 0 keeps their order.
using TSortCompareFunc = std::function<int(const std::string& A, const std::string& B)>;

enum : std::uint8_t {
    skDetect = 0,
    skText = 1,
    skNumeric = 2,
    skDateTime = 3,
    skCompareFunc = 4
};

struct TSortOptions {
    std::uint8_t SortKind = skDetect;  // any value above 4 sorts as text
    bool Descending = false;
    bool CaseSensitive = false;        // false compares texts upper-cased (a to z only)
    TSortCompareFunc CompareFunc;
};

struct TSortedListEntry {
    std::string Text;  // the sort column's text, upper-cased when the sort ignored case
    int Index = 0;     // the row it came from
};

// skNumeric when every text reads as a number, else skDateTime when every one
// reads as a date (without a time), else skText. No texts: skNumeric. Stops
// at the first text that is neither; textAt(i) gives text i of count. With
// `numbers`, a numeric column leaves there the number of each text, so the
// sort need not read them again.
template <class TextAt>
std::uint8_t DetectSortKindOf(int count, TextAt textAt, const wb::FormatSettings& fs,
                              std::vector<double>* numbers = nullptr) {
    bool numeric = true, dates = true;
    if (numbers) numbers->assign(std::max(count, 0), 0.0);
    for (int i = 0; i < count && (numeric || dates); ++i) {
        double v;
        const std::string& text = textAt(i);
        if (numeric && !wb::TryStrToFloat(text, v, fs)) numeric = false;
        if (numeric && numbers) (*numbers)[i] = v;
        if (dates && !wb::TryStrToDate(text, v, fs)) dates = false;
    }
    if (numbers && !numeric) numbers->clear();
    return numeric ? skNumeric : dates ? skDateTime : skText;
}

std::uint8_t DetectSortKind(const std::vector<std::string>& texts, const wb::FormatSettings& fs);

// Sorts the entries in place. Texts that fail the kind's conversion compare
// equal to anything; equal entries keep the order of their Index, in either
// direction. A compare function that throws leaves the entries as they were.
// `numbers`, when it holds one per entry, gives a numeric sort each text's
// number as detection read it (upper-casing changes no number).
void SortEntries(std::vector<TSortedListEntry>& entries, const TSortOptions& options,
                 const wb::FormatSettings& fs, const std::vector<double>* numbers = nullptr);

// Upper-cases a to z only.
void UpperAscii(std::string& text);

// A merge sort that reads and writes only inside the range, so even a
// comparer that contradicts itself yields a permutation of the input.
template <class T, class Less>
void StableMergeSort(std::vector<T>& items, Less less) {
    const size_t n = items.size();
    if (n < 2) return;
    constexpr size_t kRun = 24;
    for (size_t lo = 0; lo < n; lo += kRun) {
        size_t hi = std::min(n, lo + kRun);
        for (size_t i = lo + 1; i < hi; ++i) {
            T item = std::move(items[i]);
            size_t j = i;
            while (j > lo && less(item, items[j - 1])) {
                items[j] = std::move(items[j - 1]);
                --j;
            }
            items[j] = std::move(item);
        }
    }
    std::vector<T> buffer(n);
    std::vector<T>* from = &items;
    std::vector<T>* to = &buffer;
    for (size_t width = kRun; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            size_t mid = std::min(n, lo + width), hi = std::min(n, lo + 2 * width);
            size_t a = lo, b = mid, out = lo;
            while (a < mid && b < hi)
                (*to)[out++] = less((*from)[b], (*from)[a]) ? std::move((*from)[b++]) : std::move((*from)[a++]);
            while (a < mid) (*to)[out++] = std::move((*from)[a++]);
            while (b < hi) (*to)[out++] = std::move((*from)[b++]);
        }
        std::swap(from, to);
    }
    if (from != &items) items = std::move(*from);
}

} // namespace velmora
