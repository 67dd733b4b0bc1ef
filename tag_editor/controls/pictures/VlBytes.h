#pragma once
// Little-endian fields and a reader that never reads past the bytes it was
// given: every stored picture format of the control library reads through it,
// so a size field in a file can only make a read fail, never overrun.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/File.h"

namespace velmora {

// The framework's stream read error: a stored structure that is not what it claims.
class EReadError : public std::runtime_error {
public:
    EReadError() : std::runtime_error("Stream-Read-Fehler") {}
};

inline std::uint16_t GetLE16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::uint32_t GetLE32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
inline void PutLE16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
inline void PutLE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
inline void SetLE16(std::uint8_t* p, unsigned v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
inline void SetLE32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

class TByteReader {
public:
    TByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Position() const { return pos_; }
    std::size_t Left() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ >= size_; }
    const std::uint8_t* Here() const { return data_ + pos_; }

    // -1 at the end.
    int Byte() { return pos_ < size_ ? data_[pos_++] : -1; }
    bool Read(void* to, std::size_t n) {
        if (n > Left()) return false;
        if (n) std::memcpy(to, data_ + pos_, n);
        pos_ += n;
        return true;
    }
    void SkipToEnd() { pos_ = size_; }
    bool Skip(std::uint64_t n) {
        if (n > Left()) return false;
        pos_ += std::size_t(n);
        return true;
    }
    bool ReadLE16(std::uint16_t& v) {
        if (Left() < 2) return false;
        v = GetLE16(data_ + pos_);
        pos_ += 2;
        return true;
    }
    bool ReadLE32(std::uint32_t& v) {
        if (Left() < 4) return false;
        v = GetLE32(data_ + pos_);
        pos_ += 4;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The whole of a regular file, so a FIFO or a device never blocks a reader:
// the check is made on the opened descriptor, so nothing swapped in after it
// can block either. False when it is none or cannot be read.
inline bool ReadRegularFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    try {
        wb::File in(path, wb::File::Mode::ReadDocument);
        // Read in large pieces: the size found at opening is only where to
        // begin, the file may grow or shrink while it is read.
        const std::int64_t expected = std::max<std::int64_t>(in.SizeAtOpen(), 0);
        std::size_t piece = std::size_t(std::min<std::int64_t>(expected, 1 << 30)) + 1;
        bytes.clear();
        for (;;) {
            const std::size_t had = bytes.size();
            bytes.resize(had + piece);
            const std::size_t got = in.Read(bytes.data() + had, piece);
            bytes.resize(had + got);
            if (got < piece) break;
            piece = std::max<std::size_t>(65536, bytes.size());
        }
        return true;
    } catch (const wb::IoError&) {
        return false;
    }
}

} // namespace velmora
