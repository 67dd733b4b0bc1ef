#pragma once
// One WAVE file in memory: the header fields the workbench uses and the body
// of its "data" chunk as signed 16-bit samples.
#include <cstdint>
#include <string>
#include <vector>

namespace sonafex {

class SoundFile {
public:
    // Reads the file. Never throws: a file that cannot be read leaves the
    // fields it did not reach at zero (so bits per sample is not 16) and
    // GetLoadProblem() says what was wrong.
    explicit SoundFile(const std::string& fileName);

    uint16_t GetFormatTag() const { return formatTag_; }
    uint16_t GetChannels() const { return channels_; }
    int32_t GetSampleRate() const { return sampleRate_; }
    int32_t GetByteRate() const { return byteRate_; }
    uint16_t GetBlockAlign() const { return blockAlign_; }
    uint16_t GetBitsPerSample() const { return bitsPerSample_; }
    int32_t GetDataSize() const { return dataSize_; }
    int32_t GetFrameCount() const;
    // Whole seconds, truncated.
    double GetSeconds() const;
    // Empty when the file was read completely.
    const std::string& GetLoadProblem() const { return loadProblem_; }

    // Samples outside the held buffer read as 0, and writes to them are
    // dropped: frame counts come from the file and may promise more.
    int16_t GetSample(int64_t index) const {
        return static_cast<uint64_t>(index) < data_.size() ? data_[index] : 0;
    }
    // Keeps the low 16 bits: results beyond the range wrap, they never clip.
    void SetSample(int64_t index, int64_t value) {
        if (static_cast<uint64_t>(index) < data_.size()) data_[index] = static_cast<int16_t>(value);
    }
    int64_t HeldSamples() const { return static_cast<int64_t>(data_.size()); }

    void ReplaceData(std::vector<int16_t> samples) { data_ = std::move(samples); }
    void SetDataSize(int32_t size) { dataSize_ = size; }
    void SetChannels(uint16_t count) { channels_ = count; }
    void UpdateBlockAlign();
    void UpdateByteRate();

    // Writes a canonical 44-byte-header WAVE file; the old file is replaced only
    // once the new one is complete. Throws wb::IoError on failure.
    void Save(const std::string& fileName) const;

private:
    void Load(const std::string& fileName);

    std::vector<int16_t> data_;
    uint16_t formatTag_ = 0;
    // The real format of an extensible format chunk: written in its place,
    // because a 16-byte format chunk cannot carry the extension.
    uint16_t subFormatTag_ = 0;
    uint16_t channels_ = 0;
    int32_t sampleRate_ = 0;
    int32_t byteRate_ = 0;
    uint16_t blockAlign_ = 0;
    uint16_t bitsPerSample_ = 0;
    int32_t dataSize_ = 0;
    std::string loadProblem_;
};

} // namespace sonafex
