#include "platform/media/WaveData.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "platform/base/File.h"

namespace wb::media {

namespace {
uint32_t Le32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
} // namespace

WaveData ReadWaveData(const std::string& fileName) {
    File in(fileName, File::Mode::ReadDocument);
    const int64_t size = in.Size();
    unsigned char riff[12];
    if (in.Read(riff, 12) != 12 || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0)
        throw std::runtime_error(fileName + " is not a wave file");

    WaveData wave;
    unsigned bits = 0;
    bool haveFormat = false;
    int64_t pos = 12;
    while (pos + 8 <= size) {
        in.Seek(pos);
        unsigned char head[8];
        if (in.Read(head, 8) != 8) break;
        const uint32_t len = Le32(head + 4);
        if (std::memcmp(head, "fmt ", 4) == 0 && len >= 16) {
            unsigned char fmt[16];
            if (in.Read(fmt, 16) != 16) break;
            const uint16_t tag = Le16(fmt);
            wave.channels = Le16(fmt + 2);
            wave.rate = Le32(fmt + 4);
            bits = Le16(fmt + 14);
            haveFormat = tag == 1 || tag == 0xFFFE;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!haveFormat || bits != 16 || wave.channels == 0 || wave.rate == 0)
                throw std::runtime_error(fileName + " holds no 16-bit PCM sound");
            const int64_t bytes = std::min<int64_t>(len, size - (pos + 8)) / 2 * 2;
            wave.samples.resize(static_cast<size_t>(bytes / 2));
            in.Read(wave.samples.data(), static_cast<size_t>(bytes));
            if constexpr (std::endian::native == std::endian::big) {
                for (auto& s : wave.samples) { auto u = static_cast<uint16_t>(s); s = static_cast<int16_t>(static_cast<uint16_t>(u << 8 | u >> 8)); }
            }
            wave.samples.resize(wave.Frames() * wave.channels);
            return wave;
        }
        pos += 8 + static_cast<int64_t>(len) + (len & 1);
    }
    throw std::runtime_error(fileName + " holds no 16-bit PCM sound");
}

} // namespace wb::media
