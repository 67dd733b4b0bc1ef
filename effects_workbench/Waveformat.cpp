#include "effects_workbench/Waveformat.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "platform/base/File.h"
#include "platform/base/PendingFile.h"

namespace {

uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
void Put16(unsigned char* p, uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
void Put32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void SwapIfBigEndian(std::vector<int16_t>& samples) {
    if constexpr (std::endian::native == std::endian::big) {
        for (auto& s : samples) {
            auto u = static_cast<uint16_t>(s);
            s = static_cast<int16_t>(static_cast<uint16_t>(u << 8 | u >> 8));
        }
    }
}

constexpr uint16_t kExtensibleFormat = 0xFFFE;
constexpr int64_t kFormatStart = 20;  // body of the format chunk
constexpr int64_t kMinFormatBody = 16;

} // namespace

SoundFile::SoundFile(const std::string& fileName) { Load(fileName); }

void SoundFile::Load(const std::string& fileName) {
    const std::string quoted = "\"" + fileName + "\"";
    try {
        wb::File in(fileName, wb::File::Mode::ReadDocument);
        const int64_t fileSize = in.Size();

        unsigned char head[kFormatStart + kMinFormatBody];
        if (in.Read(head, sizeof head) != sizeof head) {
            loadProblem_ = "Cannot read " + quoted + ": the file ends inside its header";
            return;
        }
        const uint32_t formatSize = Le32(head + 16);
        formatTag_ = Le16(head + 20);
        channels_ = Le16(head + 22);
        sampleRate_ = static_cast<int32_t>(Le32(head + 24));
        byteRate_ = static_cast<int32_t>(Le32(head + 28));
        blockAlign_ = Le16(head + 32);
        bitsPerSample_ = Le16(head + 34);
        // Frames are counted by block align and samples by channel: where the
        // two disagree, every effect would drop samples or invent them.
        if (bitsPerSample_ == 16 && blockAlign_ != channels_ * 2) {
            loadProblem_ = "Cannot read " + quoted + ": its block align of " +
                           std::to_string(blockAlign_) + " bytes does not fit " +
                           std::to_string(channels_) + " channel(s) of 16 bits";
            return;
        }

        if (formatTag_ == kExtensibleFormat && formatSize >= 40) {
            unsigned char sub[2];
            in.Seek(kFormatStart + 24);
            if (in.Read(sub, 2) == 2) subFormatTag_ = Le16(sub);
        }

        // A longer format chunk is skipped by its stored size, with its pad byte.
        int64_t pos = kFormatStart + kMinFormatBody;
        if (formatSize > kMinFormatBody) pos = kFormatStart + formatSize + (formatSize & 1);

        for (;;) {
            if (pos > fileSize) {
                loadProblem_ = "Cannot read " + quoted + ": a chunk runs past the end of the file";
                return;
            }
            in.Seek(pos);
            unsigned char chunk[8];
            const size_t got = in.Read(chunk, 8);
            if (got < 4) {
                loadProblem_ = "Cannot read " + quoted + ": the file has no data chunk";
                return;
            }
            const bool isData = std::memcmp(chunk, "data", 4) == 0;
            if (got < 8) {
                loadProblem_ = "Cannot read " + quoted + ": the file ends inside a chunk header";
                return;
            }
            const uint32_t size = Le32(chunk + 4);
            if (!isData) {
                pos += 8 + static_cast<int64_t>(size) + (size & 1);
                continue;
            }
            // Take only what the file holds, however much the header promises.
            const int64_t present = std::max<int64_t>(0, fileSize - (pos + 8));
            const int64_t held = std::min<int64_t>(
                {static_cast<int64_t>(size), present, std::numeric_limits<int32_t>::max()});
            data_.assign(static_cast<size_t>((held + 1) / 2), 0);
            const size_t read = in.Read(data_.data(), static_cast<size_t>(held));
            SwapIfBigEndian(data_);
            dataSize_ = static_cast<int32_t>(read);
            if (static_cast<int64_t>(read) < size) {
                loadProblem_ = "Incomplete file " + quoted + ": its data chunk promises " +
                               std::to_string(size) + " bytes, but only " +
                               std::to_string(read) + " are present";
            }
            return;
        }
    } catch (const wb::IoError& e) {
        loadProblem_ = e.what();
    }
}

int32_t SoundFile::GetFrameCount() const {
    if (blockAlign_ == 0 || dataSize_ <= 0) return 0;
    return dataSize_ / blockAlign_;
}

double SoundFile::GetSeconds() const {
    if (byteRate_ <= 0 || dataSize_ <= 0) return 0;
    return static_cast<double>(dataSize_ / byteRate_);
}

void SoundFile::UpdateBlockAlign() {
    blockAlign_ = static_cast<uint16_t>(channels_ * (bitsPerSample_ / 8));
}

void SoundFile::UpdateByteRate() {
    byteRate_ = static_cast<int32_t>(static_cast<int64_t>(blockAlign_) * sampleRate_);
}

void SoundFile::Save(const std::string& fileName) const {
    // Never more than the buffer holds, whatever the data size field says.
    const uint32_t bytes = static_cast<uint32_t>(
        std::clamp<int64_t>(dataSize_, 0, static_cast<int64_t>(data_.size()) * 2));
    const uint32_t pad = bytes & 1;
    const uint16_t tag =
        formatTag_ == kExtensibleFormat && subFormatTag_ != 0 ? subFormatTag_ : formatTag_;

    unsigned char head[44];
    std::memcpy(head, "RIFF", 4);
    Put32(head + 4, 36 + bytes + pad);
    std::memcpy(head + 8, "WAVEfmt ", 8);
    Put32(head + 16, 16);
    Put16(head + 20, tag);
    Put16(head + 22, channels_);
    Put32(head + 24, static_cast<uint32_t>(sampleRate_));
    Put32(head + 28, static_cast<uint32_t>(byteRate_));
    Put16(head + 32, blockAlign_);
    Put16(head + 34, bitsPerSample_);
    std::memcpy(head + 36, "data", 4);
    Put32(head + 40, bytes);

    wb::PendingFile out(fileName);
    out.Write(head, sizeof head);
    if constexpr (std::endian::native == std::endian::big) {
        std::vector<int16_t> le(data_);
        SwapIfBigEndian(le);
        out.Write(le.data(), bytes);
    } else {
        out.Write(data_.data(), bytes);
    }
    if (pad) {
        const unsigned char zero = 0;
        out.Write(&zero, 1);
    }
    out.Stream().Sync();
    out.Commit();
}
