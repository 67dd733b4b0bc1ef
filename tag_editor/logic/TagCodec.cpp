#include "tag_editor/logic/TagCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"

namespace velmora {

const std::array<const char*, kGenreCount> kGenreNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop",
    "Jazz", "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock",
    "Techno", "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack",
    "Euro-Techno", "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance",
    "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise",
    "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic",
    "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40",
    "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave",
    "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk",
    "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk",
    "Folk/Rock", "National Folk", "Swing", "Bebob", "Latin", "Revival", "Celtic",
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock",
    "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony",
    "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba",
    "Folklore",
};

namespace {

constexpr size_t kTagSize = 128;
constexpr size_t kFirstBlock = 4 * 1024;
constexpr size_t kScanBlock = 64 * 1024;

bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string TrimLeft(std::string s) {
    size_t i = 0;
    while (i < s.size() && IsSpaceOrControl(s[i])) ++i;
    return s.substr(i);
}

std::string Trim(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && IsSpaceOrControl(s[a])) ++a;
    while (b > a && IsSpaceOrControl(s[b - 1])) --b;
    return std::string(s.substr(a, b - a));
}

// A field's text ends at its first zero: writers end a shorter text there
// and leave whatever an earlier tag held behind it. Leading blanks and
// control bytes are removed, later control bytes read as blanks.
std::string ReadField(const uint8_t* p, size_t n) {
    const auto* chars = reinterpret_cast<const char*>(p);
    const size_t len = std::find(chars, chars + n, '\0') - chars;
    return wb::Cp1252ToUtf8(BlankControls(TrimLeft(std::string(chars, len))));
}

void WriteField(uint8_t* out, size_t width, const std::string& text) {
    std::string bytes = wb::Utf8ToCp1252(text);
    std::memset(out, ' ', width);
    if (bytes.empty()) return;
    size_t i = 0;
    for (; i < width && i < bytes.size() && bytes[i] != '\0'; ++i) out[i] = static_cast<uint8_t>(bytes[i]);
    if (i < width) out[i] = 0x00;
}

// Byte offsets of the UTF-8 characters of s, plus s.size() at the end.
std::vector<size_t> CharStarts(std::string_view s) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(s.size());
    return starts;
}

// Characters [from, from + count) of s, clamped to its length.
std::string Chars(std::string_view s, const std::vector<size_t>& starts, size_t from, size_t count) {
    size_t n = starts.size() - 1;
    if (from >= n) return {};
    size_t to = std::min(n, from + count);
    return std::string(s.substr(starts[from], starts[to] - starts[from]));
}

constexpr size_t kMaxName = 255;

// Skips an ID3v2 tag at the start: its body can hold bytes that look like a
// frame sync (an embedded JPEG picture always does).
int64_t SkipId3v2(const uint8_t* p, size_t n) {
    if (n < 10 || p[0] != 'I' || p[1] != 'D' || p[2] != '3') return 0;
    if (p[3] == 0xFF || p[4] == 0xFF) return 0;
    for (int i = 6; i < 10; ++i)
        if (p[i] & 0x80) return 0;
    int64_t size = (int64_t(p[6]) << 21) | (int64_t(p[7]) << 14) | (int64_t(p[8]) << 7) | p[9];
    int64_t footer = (p[5] & 0x10) ? 10 : 0;
    return 10 + size + footer;
}

} // namespace

bool IsAllDigits(std::string_view s) {
    if (s.empty()) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool StartsWithNumber(std::string_view name) { return IsAllDigits(name.substr(0, 2)); }

std::string BlankControls(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = ' ';
    }
    return out;
}

uint8_t GenreNumber(std::string_view name) {
    if (name.empty()) return kNoGenre;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    for (int i = 0; i < kGenreCount; ++i) {
        std::string_view entry = kGenreNames[i];
        if (entry.size() == name.size() &&
            std::equal(entry.begin(), entry.end(), name.begin(),
                       [&](char a, char b) { return lower(a) == lower(b); }))
            return static_cast<uint8_t>(i);
    }
    return kNoGenre;
}

std::string GenreName(int number) {
    if (number < 0 || number >= kGenreCount) return {};
    return kGenreNames[number];
}

std::array<uint8_t, 128> EncodeTag(const TTagInfo& tag) {
    std::array<uint8_t, 128> b{};
    std::memcpy(b.data(), "TAG", 3);
    WriteField(b.data() + 3, 30, tag.Song);
    WriteField(b.data() + 33, 30, tag.Artist);
    WriteField(b.data() + 63, 30, tag.Album);
    WriteField(b.data() + 93, 4, tag.Year == 0 ? std::string() : std::to_string(tag.Year));
    WriteField(b.data() + 97, 28, tag.Comment);
    b[125] = 0x00;
    b[126] = tag.Track;
    b[127] = tag.Genre;
    return b;
}

TTagInfo DecodeTag(const uint8_t block[128]) {
    TTagInfo t;
    t.HasTag = true;
    t.Song = ReadField(block + 3, 30);
    t.Artist = ReadField(block + 33, 30);
    t.Album = ReadField(block + 63, 30);
    std::string year = ReadField(block + 93, 4);
    t.Year = IsAllDigits(year) ? std::stoi(year) : 0;
    t.Comment = ReadField(block + 97, 28);
    t.Track = block[125] == 0x00 ? block[126] : 0;
    t.Genre = block[127];
    return t;
}

void NamesFromFileName(const std::string& fileName, TTagInfo& tag) {
    std::string_view full = fileName;
    size_t slash = full.find_last_of('/');
    std::string_view base = slash == std::string_view::npos ? full : full.substr(slash + 1);
    auto starts = CharStarts(base);
    size_t count = starts.size() - 1;
    std::string name = count > 4 ? Chars(base, starts, 0, count - 4) : std::string();
    starts = CharStarts(name);
    count = starts.size() - 1;

    bool numbered = StartsWithNumber(name);
    size_t from = numbered ? 3 : 0;  // character 4 or character 1
    size_t dashByte = name.find(" - ");
    if (dashByte != std::string::npos) {
        size_t dash = std::lower_bound(starts.begin(), starts.end(), dashByte) - starts.begin();
        // Up to and including the character where " - " begins.
        tag.Artist = dash + 1 > from ? Trim(Chars(name, starts, from, dash + 1 - from)) : std::string();
        tag.Song = Trim(Chars(name, starts, dash + 3, kMaxName));
    } else {
        tag.Song = Trim(numbered ? Chars(name, starts, 3, kMaxName) : name);
        tag.Artist.clear();
    }
    // A file name may hold any byte but '/' and zero.
    tag.Artist = BlankControls(tag.Artist);
    tag.Song = BlankControls(tag.Song);
    (void)count;
}

namespace {

// Scans an open file from the start; small first read, as the sync is
// nearly always in the first bytes, then large blocks. The four bytes from
// the sync (from the start when there is none) go to header, zeros where
// the file has none.
int64_t FindFrameSyncIn(wb::File& f, uint8_t header[4]) {
    uint8_t first[kFirstBlock];
    std::vector<uint8_t> big;
    uint8_t* buf = first;
    int64_t pos = 0;  // where buf begins in the file; it holds n bytes
    size_t n = f.ReadAt(buf, kFirstBlock, 0);
    auto headerAt = [&](int64_t sync) {
        std::memset(header, 0, 4);
        const int64_t in = sync - pos;
        if (in >= 0 && in + 4 <= int64_t(n)) std::memcpy(header, buf + in, 4);
        else f.ReadAt(header, 4, sync);
        return sync;
    };
    const int64_t skip = SkipId3v2(buf, n);
    if (skip > 0) {
        if (skip >= f.SizeAtOpen()) return headerAt(0);
        pos = skip;
        n = f.ReadAt(buf, kFirstBlock, pos);
    }
    bool prevFF = false;
    while (n > 0) {
        for (size_t i = 0; i < n; ++i) {
            uint8_t c = buf[i];
            if (prevFF && (c & 0xE0) == 0xE0) return headerAt(pos + int64_t(i) - 1);
            prevFF = c == 0xFF;
        }
        pos += int64_t(n);
        if (buf == first) {
            big.resize(kScanBlock);
            buf = big.data();
        }
        n = f.ReadAt(buf, kScanBlock, pos);
    }
    return headerAt(0);
}

TMpegInfo ReadMpegInfoIn(wb::File& f) {
    uint8_t b[4];
    FindFrameSyncIn(f, b);
    return DecodeMpegHeader(b, f.SizeAtOpen());
}

} // namespace

int64_t FindFrameSync(const std::string& fileName) {
    wb::File f(fileName, wb::File::Mode::ReadDocument);
    uint8_t header[4];
    return FindFrameSyncIn(f, header);
}

TMpegInfo DecodeMpegHeader(const uint8_t b[4], int64_t fileSize) {
    static constexpr int32_t kRateV1[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr int32_t kRateV2[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr int32_t kSample[3][3] = {{44, 48, 32}, {22, 24, 16}, {11, 12, 8}};

    TMpegInfo m;
    m.FileSize = fileSize;
    m.Version = m.Layer = m.Mode = TMpegInfo::kNone;
    if (b[0] != 0xFF) return m;
    int versionCode = (b[1] >> 3) & 3;
    int layerCode = (b[1] >> 1) & 3;
    int rateIndex = b[2] >> 4;
    int sampleIndex = (b[2] >> 2) & 3;
    // Reserved codes would index past the tables: such a header is unusable.
    if (versionCode == 1 || layerCode == 0 || rateIndex == 15 || sampleIndex == 3) return m;
    m.Version = versionCode == 3 ? 0 : versionCode == 2 ? 1 : 2;
    m.Layer = static_cast<uint8_t>(3 - layerCode);
    m.Bitrate = (m.Version == 0 ? kRateV1 : kRateV2)[rateIndex];
    m.SampleRate = kSample[m.Version][sampleIndex];
    m.Mode = static_cast<uint8_t>(b[3] >> 6);
    // Free format (bit rate 0) has no duration to estimate.
    if (m.Bitrate > 0) {
        int64_t secs = (fileSize * 8) / (int64_t(m.Bitrate) * 1000);
        m.Duration = static_cast<int32_t>(std::min<int64_t>(secs, INT32_MAX));
    }
    return m;
}

TMpegInfo ReadMpegInfo(const std::string& fileName) {
    wb::File f(fileName, wb::File::Mode::ReadDocument);
    return ReadMpegInfoIn(f);
}

std::string MpegInfoText(const TMpegInfo& m) {
    // A record without a usable header has no facts to show.
    if (!m.Usable()) return "No MPEG audio header found";
    static const char* kVersions[] = {"MPEG 1", "MPEG 2", "MPEG 2.5"};
    static const char* kLayers[] = {" layer 1", " layer 2", " layer 3"};
    static const char* kModes[] = {", Stereo", ", Joint Stereo", ", Dual Channel", ", Mono"};
    std::string s;
    if (m.Version < 3) s += kVersions[m.Version];
    if (m.Layer < 3) s += kLayers[m.Layer];
    if (m.Mode < 4) s += kModes[m.Mode];
    s += ", " + std::to_string(m.Bitrate) + " KBit";
    s += ", " + std::to_string(m.SampleRate) + (m.SampleRate == 44 ? ".1 KHz" : " KHz");
    return s;
}

TTagInfo ReadTag(const std::string& fileName) {
    wb::File f(fileName, wb::File::Mode::ReadDocument);  // a file that cannot be opened throws here
    const bool readOnly = wb::IsReadOnlyFile(f);
    TMpegInfo mpeg = ReadMpegInfoIn(f);

    uint8_t block[kTagSize];
    bool tagged = false;
    try {
        const int64_t size = f.SizeAtOpen();
        if (size >= int64_t(kTagSize))
            tagged = f.ReadAt(block, kTagSize, size - int64_t(kTagSize)) == kTagSize &&
                     std::memcmp(block, "TAG", 3) == 0;
    } catch (const wb::IoError&) {
        tagged = false;  // an unreadable tag area reads as untagged
    }

    TTagInfo t;
    if (tagged) {
        t = DecodeTag(block);
    } else {
        NamesFromFileName(fileName, t);
    }
    t.ReadOnly = readOnly;
    t.Mpeg = mpeg;
    return t;
}

void WriteTag(const std::string& fileName, const TTagInfo& tag) {
    if (fileName.empty()) return;
    // A file deleted or moved since it was listed is a failure, never
    // "done": ReadTag throws naming it and the system's reason, as it does
    // for anything that is not a regular file.
    bool hadTag = false;
    try {
        hadTag = ReadTag(fileName).HasTag;
    } catch (const wb::IoError& e) {
        if (e.Errno() != ENOENT) throw;
        throw wb::IoError(fileName, "Cannot write the tag of",
                          e.Reason() + ": the file was deleted or moved after it was listed");
    }
    auto block = EncodeTag(tag);

    wb::File f(fileName, wb::File::Mode::ReadWrite);
    int64_t size = f.Size();
    int64_t at = hadTag ? size - int64_t(kTagSize) : size;
    uint8_t old[kTagSize];
    if (hadTag) {
        f.Seek(at);
        f.ReadExact(old, kTagSize);
    }
    try {
        f.Seek(at);
        f.Write(block.data(), block.size());
        f.Close();
    } catch (const wb::IoError&) {
        // Put back what was there, so a failed write leaves no half tag.
        try {
            if (!f.IsOpen()) f.Open(fileName, wb::File::Mode::ReadWrite);
            if (hadTag) {
                f.Seek(at);
                f.Write(old, kTagSize);
            }
            f.Truncate(size);
            f.Close();
        } catch (const wb::IoError&) {
        }
        throw;
    }
}

void RemoveTag(const std::string& fileName) {
    if (fileName.empty()) return;
    if (!ReadTag(fileName).HasTag) return;
    wb::File f(fileName, wb::File::Mode::ReadWrite);
    f.Truncate(f.Size() - int64_t(kTagSize));
    f.Close();
}

} // namespace velmora
