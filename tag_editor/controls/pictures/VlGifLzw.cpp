// The LZW coding of GIF image data, both ways.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tag_editor/controls/pictures/VlBytes.h"
#include "tag_editor/controls/pictures/VlGIF.h"
#include "tag_editor/controls/pictures/VlGifDetail.h"

namespace velmora {

using gifdetail::Fail;
using gifdetail::ProgressAt;

namespace {
const char* const kCorrupt = "GIF encoded data is corrupt";
} // namespace

// ---- LZW ----

namespace {

// Visits the rows of a frame in file order: top to bottom, or the four
// interlace passes.
class TRowOrder {
public:
    TRowOrder(int height, bool interlaced) : height_(height), interlaced_(interlaced) {
        if (interlaced_) Settle();
    }
    int Row() const { return row_; }
    bool Done() const { return row_ >= height_; }
    void Next() {
        if (!interlaced_) {
            ++row_;
            return;
        }
        row_ += kStep[pass_];
        Settle();
    }

private:
    void Settle() {
        while (row_ >= height_ && pass_ < 3) row_ = kStart[++pass_];
    }
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    int height_, row_ = 0, pass_ = 0;
    bool interlaced_;
};

// The data sub-blocks after the minimum code size byte, joined, with eight
// zero bytes after them so that any code is read with one 64-bit load. The
// blocks end at the terminator; one cut short by the end of the data gives
// what there is of it.
std::vector<std::uint8_t> JoinBlocks(const std::vector<std::uint8_t>& data, std::size_t& size) {
    const std::uint8_t* blocks = data.data() + 1;
    const std::size_t n = data.empty() ? 0 : data.size() - 1;
    size = 0;
    gifdetail::EachSubBlock(blocks, n, [&](auto, std::size_t count) { size += count; });
    std::vector<std::uint8_t> joined(size + 8);
    std::uint8_t* to = joined.data();
    gifdetail::EachSubBlock(blocks, n, [&](const std::uint8_t* from, std::size_t count) {
        std::memcpy(to, from, count);
        to += count;
    });
    return joined;
}

std::uint64_t LoadLE64(const std::uint8_t* p) {
    std::uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(&v, p, 8);
    else
        for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

// Where the pixels go, in file order. Eight-bit rows are written in place;
// 1- and 4-bit rows are gathered an index a byte and packed into the bitmap
// once full, or as far as they came when the data stops.
template <int Bits>
class TPixelSink {
public:
    TPixelSink(TBitmap& bitmap, bool interlaced)
        : bitmap_(bitmap), w_(bitmap.Width()), order_(bitmap.Height(), interlaced) {
        if constexpr (Bits == 8) {
            line_ = bitmap_.ScanLine(order_.Row());
        } else {
            gathered_.resize(std::size_t(w_));
            line_ = gathered_.data();
        }
    }
    bool Done() const { return order_.Done(); }

    // The n pixels of a code's string, written from its end back, two at a
    // step (see DecodeFrame's table): straight into the row when they fit in
    // it, else through spare, and cut off at the end of the picture.
    void PutString(const std::uint64_t* table, unsigned code, int n, std::uint8_t* spare) {
        const bool fits = n <= w_ - x_;
        std::uint8_t* to = (fits ? line_ + x_ : spare) + n;
        for (int i = n; i > 1; i -= 2) {
            const std::uint64_t e = table[code];
            to -= 2;
            to[0] = std::uint8_t(e >> 32);
            to[1] = std::uint8_t(e >> 40);
            code = unsigned(e) & 0xFFFF;
        }
        if (n & 1) to[-1] = std::uint8_t(table[code] >> 40);
        if (!fits) {
            Put(spare, n);
        } else if ((x_ += n) == w_) {
            NextRow();
        }
    }

    void Finish() {
        if constexpr (Bits != 8)
            if (x_ > 0 && !Done()) Pack(x_);
    }

private:
    void Put(const std::uint8_t* from, int n) {
        while (n > 0 && !Done()) {
            const int k = std::min(n, w_ - x_);
            std::memcpy(line_ + x_, from, std::size_t(k));
            from += k;
            n -= k;
            x_ += k;
            if (x_ == w_) NextRow();
        }
    }
    void NextRow() {
        if constexpr (Bits != 8) Pack(w_);
        x_ = 0;
        order_.Next();
        if constexpr (Bits == 8)
            if (!order_.Done()) line_ = bitmap_.ScanLine(order_.Row());
    }
    void Pack(int n) {
        std::uint8_t* row = bitmap_.ScanLine(order_.Row());
        const std::uint8_t* g = gathered_.data();
        for (int i = 0; i < n; ++i) {
            if constexpr (Bits == 4)
                row[i >> 1] = std::uint8_t(row[i >> 1] | (g[i] & 15) << ((i & 1) ? 0 : 4));
            else
                row[i >> 3] = std::uint8_t(row[i >> 3] | (g[i] & 1) << (7 - (i & 7)));
        }
    }

    TBitmap& bitmap_;
    const int w_;
    TRowOrder order_;
    std::vector<std::uint8_t> gathered_;
    std::uint8_t* line_ = nullptr;
    int x_ = 0;
};

// psRunning each time the share of the data read reaches a further percent;
// Due() is one comparison, so it can be asked at every code.
class TProgressSteps {
public:
    TProgressSteps(const TProgressEvent& progress, std::uint64_t bytes) : progress_(progress), bytes_(bytes) {
        if (progress_ && bytes_ > 0) Aim();
    }
    bool Due(std::uint64_t bitPos) const { return bitPos > next_; }
    void Report(std::uint64_t bitPos) {
        const int percent = int((bitPos + 7) / 8 * 100 / bytes_);
        if (percent != last_) {
            last_ = percent;
            ProgressAt(progress_, TProgressStage::psRunning, percent);
        }
        Aim();
    }

private:
    // Past this bit position the bytes begun reach the next percent.
    void Aim() {
        const std::uint64_t bytes = (std::uint64_t(last_ + 1) * bytes_ + 99) / 100;
        next_ = last_ >= 100 ? UINT64_MAX : (bytes - 1) * 8;
    }
    const TProgressEvent& progress_;
    std::uint64_t bytes_, next_ = UINT64_MAX;
    int last_ = 0;
};

template <int Bits>
bool DecodeFrame(const std::vector<std::uint8_t>& data, int size, unsigned pixelMask, TBitmap& bitmap,
                 bool interlaced, const TProgressEvent& progress) {
    std::size_t bytes = 0;
    const std::vector<std::uint8_t> joined = JoinBlocks(data, bytes);
    const std::uint8_t* const in = joined.data();
    const std::uint64_t bitCount = std::uint64_t(bytes) * 8;
    const int clear = 1 << size, end = clear + 1;
    // Per code, so that a string is written two pixels a load: from the low
    // end, 16 bits each, the code of its string less the last two pixels and
    // less the last pixel; then the next-to-last pixel, the last pixel and
    // the first pixel, masked to the frame's bits. The lengths beside.
    std::vector<std::uint64_t> table(4096);
    std::vector<std::uint16_t> length(4096);
    std::vector<std::uint8_t> spare(4096);
    for (int i = 0; i < clear; ++i) {
        const std::uint64_t v = std::uint8_t(unsigned(i) & pixelMask);
        table[std::size_t(i)] = v << 40 | v << 48;
        length[std::size_t(i)] = 1;
    }
    TPixelSink<Bits> sink(bitmap, interlaced);
    TProgressSteps steps(progress, bytes);
    int width = size + 1, avail = clear + 2, old = -1;
    std::uint64_t pos = 0;
    bool corrupted = false;
    while (!sink.Done()) {
        if (pos + unsigned(width) > bitCount) {  // the data ends before the picture does
            corrupted = true;
            break;
        }
        int code = int((LoadLE64(in + (pos >> 3)) >> (pos & 7)) & ((1u << width) - 1));
        pos += unsigned(width);
        if (steps.Due(pos)) steps.Report(pos);
        if (code == clear) {
            width = size + 1;
            avail = clear + 2;
            old = -1;
            continue;
        }
        if (code == end) break;
        if (old < 0) {
            if (code > clear) {  // a string code with no string before it
                corrupted = true;
                break;
            }
        } else {
            // A code past the next free one is read as that one: the previous
            // string and its first pixel, and decoding goes on.
            if (code > avail) code = avail;
            // Every code below avail has an entry made since the last clear,
            // pointing to an older one, so chains end at a pixel code. The
            // entry for avail itself is the one made here.
            if (avail < 4096) {
                const std::uint64_t was = table[std::size_t(old)];
                const std::uint64_t first = was >> 48 & 0xFF;
                const std::uint64_t last = code == avail ? first : table[std::size_t(code)] >> 48 & 0xFF;
                table[std::size_t(avail)] = (was >> 16 & 0xFFFF) | std::uint64_t(old) << 16 |
                                            (was >> 40 & 0xFF) << 32 | last << 40 | first << 48;
                length[std::size_t(avail)] = std::uint16_t(length[std::size_t(old)] + 1);
                if (++avail == (1 << width) && width < 12) ++width;
            }
        }
        sink.PutString(table.data(), unsigned(code), length[std::size_t(code)], spare.data());
        old = code;
    }
    sink.Finish();
    return corrupted;
}

} // namespace

bool GifLzwDecode(const std::vector<std::uint8_t>& data, TBitmap& bitmap, int bitsPerPixel,
                  bool interlaced, const TProgressEvent& progress) {
    bool corrupted = false;
    if (data.empty() || bitmap.Width() == 0 || bitmap.Height() == 0) return false;
    ProgressAt(progress, TProgressStage::psStarting, 0);
    int size = data[0];
    if (size < 2 || size > 9) {
        if (!AcceptCorruptGif) Fail("GIF code size not in range 2 to 9");
        corrupted = true;
        size = std::clamp(size, 2, 9);
    }
    const unsigned pixelMask = (1u << bitsPerPixel) - 1;
    switch (bitmap.BitCount()) {
    case 8: corrupted |= DecodeFrame<8>(data, size, pixelMask, bitmap, interlaced, progress); break;
    case 4: corrupted |= DecodeFrame<4>(data, size, pixelMask, bitmap, interlaced, progress); break;
    default: corrupted |= DecodeFrame<1>(data, size, pixelMask, bitmap, interlaced, progress); break;
    }
    if (corrupted && !AcceptCorruptGif) {
        ProgressAt(progress, TProgressStage::psEnding, 0, kCorrupt);
        Fail(kCorrupt);
    }
    ProgressAt(progress, TProgressStage::psEnding, 100);
    return corrupted;
}

namespace {

class TCodeWriter {
public:
    explicit TCodeWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Put(int code, int width) {
        acc_ |= std::uint32_t(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            Byte(std::uint8_t(acc_));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    void Finish() {
        if (bits_ > 0) Byte(std::uint8_t(acc_));
        if (count_) Flush();
        out_.push_back(0);
    }

private:
    void Byte(std::uint8_t b) {
        block_[count_++] = b;
        if (count_ == 255) Flush();
    }
    void Flush() {
        out_.push_back(std::uint8_t(count_));
        out_.insert(out_.end(), block_, block_ + count_);
        count_ = 0;
    }
    std::vector<std::uint8_t>& out_;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
    std::uint8_t block_[255];
    int count_ = 0;
};

} // namespace

void GifLzwEncode(const TBitmap& bitmap, bool interlaced, std::vector<std::uint8_t>& out,
                  const TProgressEvent& progress) {
    const int bitCount = bitmap.BitCount();
    const int initWidth = std::max(bitCount + 1, 3);
    const int clear = 1 << (initWidth - 1), end = clear + 1;
    constexpr int kHashSlots = 17777;
    struct TEntry {
        std::uint16_t Prefix, Code;
        std::uint8_t Pixel;
    };
    std::vector<std::int16_t> slots(kHashSlots, -1);
    std::vector<TEntry> entries(4096);
    int used = 0;
    out.push_back(std::uint8_t(initWidth - 1));
    TCodeWriter writer(out);
    int width = initWidth, next = clear + 2;
    writer.Put(clear, width);
    ProgressAt(progress, TProgressStage::psStarting, 0);

    const int w = bitmap.Width(), h = bitmap.Height();
    bool havePrefix = false;
    int prefix = 0, length = 0;
    std::uint32_t key = 0;
    TRowOrder rows(h, interlaced);
    for (int done = 0; !rows.Done(); rows.Next(), ++done) {
        const int y = rows.Row();
        for (int x = 0; x < w; ++x) {
            const int c = int(bitmap.PixelIndex(x, y));
            if (!havePrefix) {
                prefix = c;
                key = std::uint32_t(c + 3) * 301;
                length = 1;
                havePrefix = true;
                continue;
            }
            ++length;
            key = std::uint32_t((std::uint64_t(key) * std::uint64_t(c + length + 4)) % kHashSlots);
            std::uint32_t slot = key;
            bool found = false;
            while (slots[slot] >= 0) {
                const TEntry& e = entries[std::size_t(slots[slot])];
                if (e.Prefix == prefix && e.Pixel == c) {
                    prefix = e.Code;
                    found = true;
                    break;
                }
                if (++slot == kHashSlots) slot = 0;
            }
            if (found) continue;
            writer.Put(prefix, width);
            const int assigned = next++;
            entries[std::size_t(used)] = {std::uint16_t(prefix), std::uint16_t(assigned), std::uint8_t(c)};
            slots[slot] = std::int16_t(used++);
            if (assigned == (1 << width)) {
                ++width;
            } else if (assigned == 4094) {
                writer.Put(c, width);
                writer.Put(clear, width);
                std::fill(slots.begin(), slots.end(), -1);
                used = 0;
                width = initWidth;
                next = clear + 2;
                havePrefix = false;  // the following pixel starts a new string
                continue;
            }
            prefix = c;
            key = std::uint32_t(c + 3) * 301;
            length = 1;
        }
        if (progress)
            ProgressAt(progress, TProgressStage::psRunning, int(std::int64_t(done + 1) * 100 / h));
    }
    if (havePrefix) {
        writer.Put(prefix, width);
        // The decoder makes an entry for this last code and may widen for it.
        if (next == (1 << width) && width < 12) ++width;
    }
    writer.Put(end, width);
    writer.Finish();
    ProgressAt(progress, TProgressStage::psEnding, 100);
}

} // namespace velmora
