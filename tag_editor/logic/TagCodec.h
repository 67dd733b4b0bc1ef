#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// The ID3v1.1 tag (the last 128 bytes of an MP3 file) and the first MPEG
// audio frame header. Text in the records is UTF-8; the tag holds
// Windows-1252 bytes.

struct TMpegInfo {
    uint8_t Version = 0;     // 0 MPEG 1, 1 MPEG 2, 2 MPEG 2.5
    uint8_t Layer = 0;       // 0 layer 1, 1 layer 2, 2 layer 3
    uint8_t Mode = 0;        // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int32_t Bitrate = 0;     // kbit/s
    int32_t SampleRate = 0;  // kHz, whole (44 stands for 44.1)
    int64_t FileSize = 0;    // bytes; 64-bit so files past 2 GiB are sized right
    int32_t Duration = 0;    // whole seconds

    // No usable header was found: every code field is kNone, rates are 0.
    static constexpr uint8_t kNone = 0xFF;
    bool Usable() const { return SampleRate != 0; }
};

struct TTagInfo {
    bool HasTag = false;
    bool ReadOnly = false;
    std::string Song;
    std::string Artist;
    std::string Album;
    std::string Comment;
    int32_t Year = 0;      // 0 = none
    uint8_t Genre = 0;     // 255 = no genre
    uint8_t Track = 0;     // 0 = none
    TMpegInfo Mpeg;
};

constexpr int kGenreCount = 115;
constexpr uint8_t kNoGenre = 255;
extern const std::array<const char*, kGenreCount> kGenreNames;

// Throws wb::IoError when the file cannot be opened at all.
TTagInfo ReadTag(const std::string& fileName);
// Replaces or appends the tag. Throws wb::IoError, also for a file that is
// gone (a write that does not happen is a failure); on failure the file
// keeps its former length and tag.
void WriteTag(const std::string& fileName, const TTagInfo& tag);
// Cuts the tag off; a file without one is left alone.
void RemoveTag(const std::string& fileName);

// CR, LF, NUL, the other control codes and DEL turned into blanks: values
// read from a tag, a tag list or a CDDB entry go through this where they are
// read, so no name, tag or list line built from them can break.
std::string BlankControls(std::string_view text);

uint8_t GenreNumber(std::string_view name);
// The genre's name, or "" for a number outside the table.
std::string GenreName(int number);

TMpegInfo ReadMpegInfo(const std::string& fileName);
// Byte position of the first frame sync, 0 when there is none.
int64_t FindFrameSync(const std::string& fileName);
// Decodes four header bytes; the result is unusable when b0 is not 0xFF or
// a code is reserved. FileSize is used for the duration.
TMpegInfo DecodeMpegHeader(const uint8_t b[4], int64_t fileSize);
std::string MpegInfoText(const TMpegInfo& info);

bool IsAllDigits(std::string_view s);
bool StartsWithNumber(std::string_view name);

// The exact tag block of a record (what WriteTag writes).
std::array<uint8_t, 128> EncodeTag(const TTagInfo& tag);
// Decodes a 128-byte block that starts with "TAG" (HasTag, text, numbers).
TTagInfo DecodeTag(const uint8_t block[128]);
// Title and artist taken from a file name when a file has no tag.
void NamesFromFileName(const std::string& fileName, TTagInfo& tag);

} // namespace velmora
