// The LZW coding of GIF image data, both ways.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tag_editor/controls/VlBytes.h"
#include "tag_editor/controls/VlGIF.h"
#include "tag_editor/controls/VlGifDetail.h"

namespace velmora {

using gifdetail::ProgressAt;

namespace {
const char* const kCorrupt = "GIF encoded data is corrupt";
[[noreturn]] void Fail(const char* message) { throw EInvalidGraphicOperation(message); }
} // namespace

// ---- LZW ----

namespace {

// Codes least significant bit first, from the data sub-blocks after the
// minimum code size byte; -1 once the data is used up.
class TCodeReader {
public:
    explicit TCodeReader(const std::vector<std::uint8_t>& data) : data_(data) {}
    int Get(int width) {
        while (bits_ < width) {
            if (blockLeft_ == 0) {
                if (pos_ >= data_.size() || data_[pos_] == 0) return -1;
                blockLeft_ = data_[pos_++];
            }
            if (pos_ >= data_.size()) return -1;
            acc_ |= std::uint32_t(data_[pos_++]) << bits_;
            bits_ += 8;
            --blockLeft_;
        }
        int code = int(acc_ & ((1u << width) - 1));
        acc_ >>= width;
        bits_ -= width;
        return code;
    }
    std::size_t Position() const { return pos_; }

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t pos_ = 1;
    unsigned blockLeft_ = 0;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
};

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

} // namespace

bool GifLzwDecode(const std::vector<std::uint8_t>& data, TBitmap& bitmap, int bitsPerPixel,
                  bool interlaced, const TProgressEvent& progress) {
    bool corrupted = false;
    const int w = bitmap.Width(), h = bitmap.Height();
    if (data.empty() || w == 0 || h == 0) return false;
    ProgressAt(progress, TProgressStage::psStarting, 0);
    int size = data[0];
    if (size < 2 || size > 9) {
        if (!AcceptCorruptGif) Fail("GIF code size not in range 2 to 9");
        corrupted = true;
        size = std::clamp(size, 2, 9);
    }
    const unsigned pixelMask = (1u << bitsPerPixel) - 1;
    const int bits = bitmap.BitCount();
    const int clear = 1 << size, end = clear + 1;
    std::vector<std::uint16_t> prefix(4096);
    std::vector<std::uint8_t> suffix(4096), stack(4097);
    int width = size + 1, avail = clear + 2, old = -1;
    std::uint8_t first = 0;
    TCodeReader codes(data);
    TRowOrder rows(h, interlaced);
    int x = 0;
    std::uint8_t* line = bitmap.ScanLine(rows.Row());
    auto put = [&](unsigned v) {
        v &= pixelMask;
        if (bits == 8)
            line[x] = std::uint8_t(v);
        else if (bits == 4)
            line[x >> 1] = std::uint8_t(line[x >> 1] | ((x & 1) ? v & 15 : (v & 15) << 4));
        else if (v & 1)
            line[x >> 3] = std::uint8_t(line[x >> 3] | (0x80 >> (x & 7)));
        if (++x == w) {
            x = 0;
            rows.Next();
            if (!rows.Done()) line = bitmap.ScanLine(rows.Row());
        }
    };
    int lastPercent = 0;
    while (!rows.Done()) {
        int code = codes.Get(width);
        if (code < 0) {  // the data ends before the picture does
            corrupted = true;
            break;
        }
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
            put(unsigned(code));
            old = code;
            first = std::uint8_t(code);
            continue;
        }
        const int in = code;
        int sp = 0;
        if (code >= avail) {
            if (code > avail || avail >= 4096) {  // past the next free code
                corrupted = true;
                break;
            }
            stack[std::size_t(sp++)] = first;
            code = old;
        }
        // Every code followed here lies below avail, so only entries that
        // were made are read; each points to an older one, so chains end.
        while (code > end) {
            stack[std::size_t(sp++)] = suffix[std::size_t(code)];
            code = prefix[std::size_t(code)];
        }
        if (code >= clear) {  // an entry made from a control code
            corrupted = true;
            break;
        }
        first = std::uint8_t(code);
        stack[std::size_t(sp++)] = first;
        if (avail < 4096) {
            prefix[std::size_t(avail)] = std::uint16_t(old);
            suffix[std::size_t(avail)] = first;
            if (++avail == (1 << width) && width < 12) ++width;
        }
        old = in;
        while (sp > 0 && !rows.Done()) put(stack[std::size_t(--sp)]);
        if (progress) {
            int percent = int(std::uint64_t(codes.Position()) * 100 / data.size());
            if (percent != lastPercent) {
                lastPercent = percent;
                ProgressAt(progress, TProgressStage::psRunning, percent);
            }
        }
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
