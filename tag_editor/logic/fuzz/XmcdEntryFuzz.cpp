// An xmcd entry as a "cddb read" reply, and the request-line parser, on any
// bytes. The first byte is the track count. Neither parser nor writer
// throws; a value left holding a control byte, which would break a name or
// a line, is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tag_editor/logic/CDDBCalc.h"
#include "tag_editor/logic/CddbEntry.h"

namespace {
void CheckClean(const std::string& value) {
    for (char c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int tracks = data[0] % 100;
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    velmora::TCDDBDiskRec disc = velmora::ParseXmcdEntry(velmora::ReplyLines(text), tracks);
    if (disc.TrackSongs.size() != size_t(tracks) || disc.TrackArtists.size() != size_t(tracks)) __builtin_trap();
    if (disc.Year.size() != 0 && disc.Year.size() != 4) __builtin_trap();
    for (const auto* value : {&disc.Album, &disc.Year, &disc.Genre}) CheckClean(*value);
    for (const auto& value : disc.TrackSongs) CheckClean(value);
    for (const auto& value : disc.TrackArtists) CheckClean(value);
    std::string name = velmora::TagListFileName(disc, 255);
    if (name.size() > 255) __builtin_trap();
    (void)velmora::TagListText(disc);
    if (auto request = velmora::ParseRequestLine(text)) {
        if (velmora::RequestLine(*request).empty()) __builtin_trap();
    }
    return 0;
}
