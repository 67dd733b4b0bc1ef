#include "tag_editor/controls/pictures/VlGraph.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>
#include <unordered_map>

#include "tag_editor/controls/pictures/VlBytes.h"

namespace velmora {

using wb::gui::RGBColor;

int AlignedRowBytes(int bits) { return (bits + 31) / 32 * 4; }

int PixelFormatColors(TPixelFormat pf) {
    switch (pf) {
    case pf1bit: return 2;
    case pf4bit: return 16;
    case pf8bit: return 256;
    default: return 0;
    }
}

int ScanLineBytes(int pixels, int bits, int alignment) {
    std::int64_t total = std::int64_t(pixels) * bits;
    total = (total + alignment - 1) / alignment * alignment;
    return int(total / 8);
}

void RaiseBadBitmap() { throw EInvalidGraphic("Bitmap ist ungültig"); }

void FillDibHeader(const TBitmap& bitmap, TBitmapInfoHeader& header, TPixelFormat pf) {
    if (bitmap.Empty()) RaiseBadBitmap();
    header = {};
    header.Width = bitmap.Width();
    header.Height = bitmap.Height();
    int bits = PixelFormatBits(pf);
    if (pf == pf32bit || bits == 0) bits = bitmap.BitCount();
    header.BitCount = std::uint16_t(bits);
    header.SizeImage = std::uint32_t(
        std::uint64_t(ScanLineBytes(header.Width, bits, 32)) * std::uint64_t(header.Height));
}

namespace {

// The information header and colour table of a header's file.
std::uint32_t DibHeaderBytes(const TBitmapInfoHeader& h) {
    if (h.BitCount <= 8) return 40 + 4 * (1u << h.BitCount);
    return 40 + ((h.Compression & 3) ? 12 : 0);
}

} // namespace

void DibFileSizes(const TBitmap& bitmap, std::uint32_t& headerSize, std::uint32_t& imageSize,
                  TPixelFormat pf) {
    TBitmapInfoHeader h;
    FillDibHeader(bitmap, h, pf);
    headerSize = DibHeaderBytes(h);
    imageSize = h.SizeImage;
}

namespace {

// The depth's own colour table when a picture's palette does not fit it.
std::vector<TRGBQuad> StandardTable(int bits) {
    std::vector<TRGBQuad> t;
    auto add = [&](int r, int g, int b) {
        t.push_back({std::uint8_t(b), std::uint8_t(g), std::uint8_t(r), 0});
    };
    if (bits == 1) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (bits == 4) {
        static const int v[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                     {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                     {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                     {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (auto& c : v) add(c[0], c[1], c[2]);
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
        for (int i = 216; i < 256; ++i) add((i - 216) * 255 / 39, (i - 216) * 255 / 39, (i - 216) * 255 / 39);
    }
    return t;
}

void PutIndex(std::uint8_t* row, int x, int bits, unsigned index) {
    if (bits == 8) {
        row[x] = std::uint8_t(index);
    } else if (bits == 4) {
        row[x >> 1] = std::uint8_t(row[x >> 1] | ((x & 1) ? index & 15 : (index & 15) << 4));
    } else if (index & 1) {
        row[x >> 3] = std::uint8_t(row[x >> 3] | (0x80 >> (x & 7)));
    }
}

} // namespace

bool ReadDibBits(const TBitmap& bitmap, const std::vector<TRGBQuad>* palette,
                 TBitmapInfoHeader& header, TPixelFormat pf, TRGBQuad* table, std::uint8_t* bits) {
    FillDibHeader(bitmap, header, pf);
    int srcBits = bitmap.BitCount();
    if (srcBits == 0 || bitmap.Bits().size() != bitmap.Stride() * std::size_t(bitmap.Height()))
        return false;
    if (srcBits <= 8 && bitmap.Palette.size() != (1u << srcBits)) return false;
    const int w = bitmap.Width(), h = bitmap.Height();
    const int outBits = header.BitCount;
    const std::size_t outStride = std::size_t(AlignedRowBytes(w * outBits));
    if (outBits != 1 && outBits != 4 && outBits != 8 && outBits != 24 && outBits != 32) return false;
    std::memset(bits, 0, outStride * std::size_t(h));
    if (outBits >= 24) {
        const unsigned step = unsigned(outBits / 8);
        for (int y = 0; y < h; ++y) {
            std::uint8_t* out = bits + std::size_t(h - 1 - y) * outStride;
            for (int x = 0; x < w; ++x) {
                auto c = std::uint32_t(bitmap.Pixel(x, y));
                out[x * step] = std::uint8_t(wb::gui::BlueOf(c));
                out[x * step + 1] = std::uint8_t(wb::gui::GreenOf(c));
                out[x * step + 2] = std::uint8_t(wb::gui::RedOf(c));
            }
        }
        return true;
    }
    const unsigned entries = 1u << outBits;
    std::vector<TRGBQuad> target;
    if (palette && !palette->empty() && palette->size() <= entries)
        target = *palette;
    else if (bitmap.Palette.size() <= entries && !bitmap.Palette.empty())
        target = bitmap.Palette;
    else
        target = StandardTable(outBits);
    target.resize(entries);
    std::copy(target.begin(), target.end(), table);
    // Indexed sources map through their table once; direct colours look up
    // each new colour once.
    std::vector<unsigned> viaIndex;
    if (srcBits <= 8) {
        for (const TRGBQuad& q : bitmap.Palette)
            viaIndex.push_back(NearestEntry(target, RGBColor(q.Red, q.Green, q.Blue)));
    }
    std::unordered_map<TColor, unsigned> seen;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = bits + std::size_t(h - 1 - y) * outStride;
        for (int x = 0; x < w; ++x) {
            unsigned index;
            if (srcBits <= 8) {
                index = viaIndex[bitmap.PixelIndex(x, y)];
            } else {
                TColor c = bitmap.Pixel(x, y);
                auto it = seen.find(c);
                if (it == seen.end()) it = seen.emplace(c, NearestEntry(target, c)).first;
                index = it->second;
            }
            PutIndex(out, x, outBits, index);
        }
    }
    return true;
}

std::vector<std::uint8_t> BitmapToDibBlock(const TBitmap& bitmap,
                                           const std::vector<TRGBQuad>* palette, TPixelFormat pf) {
    std::uint32_t headerSize, imageSize;
    DibFileSizes(bitmap, headerSize, imageSize, pf);
    std::vector<std::uint8_t> block(14 + std::size_t(headerSize) + imageSize, 0);
    TBitmapInfoHeader h;
    std::array<TRGBQuad, 256> table{};
    if (!ReadDibBits(bitmap, palette, h, pf, table.data(), block.data() + 14 + headerSize))
        RaiseBadBitmap();
    WriteBitmapFileHeader(block.data(), headerSize, imageSize);
    WriteBitmapInfoHeader(block.data() + 14, h);
    if (h.BitCount <= 8) WriteColourTable(block.data() + 54, table.data(), 1u << h.BitCount);
    return block;
}

// ---- the histogram quantizer ----

namespace {

constexpr int kMaxColours = 2049;
constexpr int kSlots = 5191;
constexpr std::uint16_t kEmpty = 0xFFFF;

struct THistEntry {
    std::uint8_t Blue, Green, Red;
    std::uint32_t Count;
    std::uint8_t Index;
};

struct THistogram {
    int Count = 0;
    std::uint8_t RedMask = 255, GreenMask = 255, BlueMask = 255;
    std::array<THistEntry, kMaxColours> Entries;
    std::array<std::uint16_t, kSlots> Slots;

    void Empty() {
        Count = 0;
        Slots.fill(kEmpty);
    }
    // The slot that holds the colour, or the empty slot where it would go.
    int Find(std::uint8_t r, std::uint8_t g, std::uint8_t b) const {
        int slot = int(((unsigned(r) + g) * (unsigned(g) + b) * (unsigned(b) + r)) % kSlots);
        for (;;) {
            std::uint16_t e = Slots[std::size_t(slot)];
            if (e == kEmpty) return slot;
            const THistEntry& x = Entries[e];
            if (x.Red == r && x.Green == g && x.Blue == b) return slot;
            if (++slot == kSlots) slot = 0;
        }
    }
};

bool CountColours(THistogram& hist, const std::uint8_t* bits, int w, int h, std::size_t stride) {
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = bits + std::size_t(y) * stride;
        for (int x = 0; x < w; ++x, p += 3) {
            std::uint8_t b = p[0] & hist.BlueMask, g = p[1] & hist.GreenMask, r = p[2] & hist.RedMask;
            int slot = hist.Find(r, g, b);
            std::uint16_t& e = hist.Slots[std::size_t(slot)];
            if (e != kEmpty) {
                ++hist.Entries[e].Count;
                continue;
            }
            if (hist.Count == kMaxColours) return false;
            hist.Entries[std::size_t(hist.Count)] = {b, g, r, 1, 0};
            e = std::uint16_t(hist.Count++);
        }
    }
    return true;
}

} // namespace

int ReduceToPalette(const TBitmapInfoHeader& header, TRGBQuad* table, const std::uint8_t* bits,
                    std::uint8_t redMask, std::uint8_t greenMask, std::uint8_t blueMask,
                    int wanted, std::uint8_t* out) {
    const int w = header.Width, h = header.Height < 0 ? -header.Height : header.Height;
    const std::size_t srcStride = std::size_t(AlignedRowBytes(w * 24));
    const std::size_t outStride = std::size_t(AlignedRowBytes(w * 8));
    auto hist = std::make_unique<THistogram>();
    hist->RedMask = redMask;
    hist->GreenMask = greenMask;
    hist->BlueMask = blueMask;
    hist->Empty();
    while (!CountColours(*hist, bits, w, h, srcStride)) {
        auto coarser = [](std::uint8_t& m) { m = std::uint8_t(m << 1); };
        if (hist->RedMask < hist->GreenMask)
            coarser(hist->GreenMask);
        else if (hist->RedMask <= hist->BlueMask)
            coarser(hist->BlueMask);
        else
            coarser(hist->RedMask);
        hist->Empty();
    }
    const int made = std::min(std::max(wanted, 0), hist->Count);
    for (int i = 0; i < made; ++i) {
        int best = -1;
        for (int e = 0; e < hist->Count; ++e)
            if (hist->Entries[std::size_t(e)].Count > 0 &&
                (best < 0 || hist->Entries[std::size_t(e)].Count > hist->Entries[std::size_t(best)].Count))
                best = e;
        THistEntry& x = hist->Entries[std::size_t(best)];
        x.Index = std::uint8_t(i);
        x.Count = 0;
        table[i] = {x.Blue, x.Green, x.Red, 0};
    }
    for (int i = made; i < 256; ++i) table[i] = {128, 128, 128, 0};
    for (int e = 0; e < hist->Count; ++e) {
        THistEntry& x = hist->Entries[std::size_t(e)];
        if (x.Count == 0) continue;
        x.Index = std::uint8_t(NearestEntry(std::span<const TRGBQuad>(table, std::size_t(made)),
                                            RGBColor(x.Red, x.Green, x.Blue)));
    }
    // Each output row is never longer than its source row, so the output may
    // overwrite the source from the first row on.
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = bits + std::size_t(y) * srcStride;
        std::uint8_t* o = out + std::size_t(y) * outStride;
        for (int x = 0; x < w; ++x, p += 3) {
            int slot = hist->Find(p[2] & hist->RedMask, p[1] & hist->GreenMask, p[0] & hist->BlueMask);
            o[x] = hist->Entries[hist->Slots[std::size_t(slot)]].Index;
        }
        for (std::size_t x = std::size_t(w); x < outStride; ++x) o[x] = 0;
    }
    return made;
}

// ---- the other reductions ----

namespace {

// The channel levels of the fixed palettes.
constexpr int kLevels4[] = {0, 85, 170, 255};
constexpr int kLevels6[] = {0, 51, 102, 153, 204, 255};
constexpr int kLevels7[] = {0, 43, 85, 128, 170, 213, 255};
constexpr int kLevels8[] = {0, 36, 73, 109, 146, 182, 219, 255};

struct TLevelTables {
    std::array<std::uint8_t, 256> L4, L6, L7, L8;
    TLevelTables() {
        auto build = [](std::array<std::uint8_t, 256>& t, std::span<const int> levels) {
            for (int v = 0; v < 256; ++v) {
                int best = 0, i = 0, bestDist = 1 << 30;
                for (int l : levels) {
                    int d = std::abs(v - l);
                    if (d < bestDist) {
                        bestDist = d;
                        best = i;
                    }
                    ++i;
                }
                t[std::size_t(v)] = std::uint8_t(best);
            }
        };
        build(L4, kLevels4);
        build(L6, kLevels6);
        build(L7, kLevels7);
        build(L8, kLevels8);
    }
};

const TLevelTables& Levels() {
    static const TLevelTables tables;
    return tables;
}

// Boxes of occupied 4-bit cells, split at the median pixel of their widest channel.
int MedianCut(TRGBQuad* table, const std::uint8_t* bits, int w, int h, std::size_t stride,
              std::uint8_t* cellIndex) {
    std::vector<std::uint32_t> counts(4096, 0);
    auto cellOf = [](const std::uint8_t* p) { return ((p[2] >> 4) << 8) | ((p[1] >> 4) << 4) | (p[0] >> 4); };
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = bits + std::size_t(y) * stride;
        for (int x = 0; x < w; ++x, p += 3) ++counts[std::size_t(cellOf(p))];
    }
    std::vector<std::vector<int>> boxes(1);
    for (int c = 0; c < 4096; ++c)
        if (counts[std::size_t(c)]) boxes[0].push_back(c);
    auto channel = [](int cell, int ch) { return (cell >> (8 - 4 * ch)) & 15; };
    while (boxes.size() < 256) {
        int bestBox = -1, bestCh = 0, bestExtent = 0;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].size() < 2) continue;
            for (int ch = 0; ch < 3; ++ch) {
                int lo = 15, hi = 0;
                for (int c : boxes[b]) {
                    lo = std::min(lo, channel(c, ch));
                    hi = std::max(hi, channel(c, ch));
                }
                if (hi - lo > bestExtent) {
                    bestExtent = hi - lo;
                    bestBox = int(b);
                    bestCh = ch;
                }
            }
        }
        if (bestBox < 0) break;
        std::vector<int>& box = boxes[std::size_t(bestBox)];
        std::stable_sort(box.begin(), box.end(),
                         [&](int a, int b) { return channel(a, bestCh) < channel(b, bestCh); });
        std::uint64_t total = 0, run = 0;
        for (int c : box) total += counts[std::size_t(c)];
        std::size_t cut = 1;
        for (std::size_t i = 0; i + 1 < box.size(); ++i) {
            run += counts[std::size_t(box[i])];
            cut = i + 1;
            if (run * 2 >= total) break;
        }
        std::vector<int> upper(box.begin() + std::ptrdiff_t(cut), box.end());
        box.resize(cut);
        boxes.push_back(std::move(upper));
    }
    int made = 0;
    for (const auto& box : boxes) {
        if (box.empty()) continue;
        std::uint64_t n = 0, sum[3] = {0, 0, 0};
        for (int c : box) {
            n += counts[std::size_t(c)];
            for (int ch = 0; ch < 3; ++ch) sum[ch] += std::uint64_t(channel(c, ch)) * counts[std::size_t(c)];
            cellIndex[c] = std::uint8_t(made);
        }
        auto mean = [&](int ch) { return std::uint8_t(sum[ch] * 17 / n); };
        table[made++] = {mean(2), mean(1), mean(0), 0};
    }
    for (int i = made; i < 256; ++i) table[i] = {128, 128, 128, 0};
    return made;
}

// Writes 8-bit rows for the methods other than the histogram; returns the
// number of entries made for those that report it, else 0.
int ReduceByLevels(TReductionMethod method, TRGBQuad* table, const std::uint8_t* src, int w, int h,
                   std::uint8_t* out) {
    const std::size_t srcStride = std::size_t(AlignedRowBytes(w * 24));
    const std::size_t outStride = std::size_t(AlignedRowBytes(w * 8));
    const TLevelTables& L = Levels();
    int made = 0;
    std::array<std::uint8_t, 4096> cellIndex{};
    auto q = [](int r, int g, int b, int a = 0) {
        return TRGBQuad{std::uint8_t(b), std::uint8_t(g), std::uint8_t(r), std::uint8_t(a)};
    };
    switch (method) {
    case rmMedianCut: made = MedianCut(table, src, w, h, srcStride, cellIndex.data()); break;
    case rmLevels784:
        for (int r = 0; r < 7; ++r)
            for (int g = 0; g < 8; ++g)
                for (int b = 0; b < 4; ++b) table[(r * 8 + g) * 4 + b] = q(kLevels7[r], kLevels8[g], kLevels4[b]);
        for (int i = 224; i < 256; ++i) table[i] = q(128, 128, 128, 128);
        made = 224;
        break;
    case rmLevels666:
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) table[(r * 6 + g) * 6 + b] = q(kLevels6[r], kLevels6[g], kLevels6[b]);
        for (int i = 216; i < 256; ++i) table[i] = q(128, 128, 128, 128);
        made = 216;
        break;
    case rmChannelRamps:
        for (int i = 0; i < 256; ++i) table[i] = q(0, 0, 0);
        for (int k = 0; k < 64; ++k) {
            table[k] = q(k * 4, 0, 0);
            if (k) table[64 + k] = q(0, k * 4, 0);
            if (k) table[128 + k] = q(0, 0, k * 4);
        }
        break;
    default:
        for (int i = 0; i < 256; ++i) table[i] = q(i, i, i);
        break;
    }
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = src + std::size_t(y) * srcStride;
        std::uint8_t* o = out + std::size_t(y) * outStride;
        for (int x = 0; x < w; ++x, p += 3) {
            int b = p[0], g = p[1], r = p[2];
            unsigned v;
            switch (method) {
            case rmMedianCut: v = cellIndex[std::size_t(((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4))]; break;
            case rmLevels784: v = (L.L7[std::size_t(r)] * 8u + L.L8[std::size_t(g)]) * 4u + L.L4[std::size_t(b)]; break;
            case rmLevels666: v = (L.L6[std::size_t(r)] * 6u + L.L6[std::size_t(g)]) * 6u + L.L6[std::size_t(b)]; break;
            case rmChannelRamps: {
                int k = (x + y) % 3;
                v = k == 0 ? unsigned(r / 4) : k == 1 ? 64u + unsigned(g / 4) : 128u + unsigned(b / 4);
                break;
            }
            default: v = unsigned(77 * r + 150 * g + 29 * b) / 256; break;
            }
            o[x] = std::uint8_t(v);
        }
    }
    return made;
}

} // namespace

std::vector<std::uint8_t> ConvertTo8Bit(const TBitmap& bitmap, TPixelFormat pf,
                                        TReductionMethod method) {
    if (bitmap.Empty()) RaiseBadBitmap();
    if (pf == bitmap.PixelFormat() && method != rmGreyLevels) return bitmap.SaveToBytes();
    if (pf != pf1bit && pf != pf4bit && pf != pf8bit && pf != pf24bit) throw ENotImplemented();
    if (pf == pf1bit || pf == pf4bit) return BitmapToDibBlock(bitmap, &bitmap.Palette, pf);
    // A 24-bit copy, with no colour table: its rows follow the information header.
    std::vector<std::uint8_t> copy = BitmapToDibBlock(bitmap, nullptr, pf24bit);
    // The reductions make 8-bit rows; a 24-bit target is the copy itself.
    if (pf == pf24bit) return copy;
    TBitmapInfoHeader h;
    FillDibHeader(bitmap, h, pf8bit);
    const std::uint32_t headerSize = DibHeaderBytes(h), imageSize = h.SizeImage;
    std::vector<std::uint8_t> out(14 + std::size_t(headerSize) + imageSize, 0);
    std::array<TRGBQuad, 256> table{};
    const std::uint8_t* src = copy.data() + 14 + 40;
    std::uint8_t* dst = out.data() + 14 + headerSize;
    if (method == rmHistogram) {
        ReduceToPalette(h, table.data(), src, 255, 255, 255, PixelFormatColors(pf8bit), dst);
    } else {
        int made = ReduceByLevels(method, table.data(), src, h.Width, h.Height, dst);
        if (method == rmMedianCut || method == rmLevels784 || method == rmLevels666)
            h.ClrImportant = std::uint32_t(made);
    }
    WriteBitmapFileHeader(out.data(), headerSize, imageSize);
    WriteBitmapInfoHeader(out.data() + 14, h);
    WriteColourTable(out.data() + 54, table.data(), 256);
    return out;
}

std::vector<std::uint8_t> ConvertToColourCount(const TBitmap& bitmap, int colours) {
    TPixelFormat pf = colours <= 2 ? pf1bit : colours <= 16 ? pf4bit : colours <= 256 ? pf8bit : pf24bit;
    return ConvertTo8Bit(bitmap, pf, DefaultReductionMethod);
}

} // namespace velmora
