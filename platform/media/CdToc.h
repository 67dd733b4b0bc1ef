#pragma once
// The table of contents of the disc in a CD drive, read with the CD-ROM ioctls.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wb::media {

struct CdToc {
    int firstTrack = 0, lastTrack = 0;
    std::vector<uint32_t> trackStarts;  // logical block address of each track
    uint32_t leadOut = 0;               // address of the lead-out
};

// Absent when the device cannot be opened or holds no readable disc.
std::optional<CdToc> ReadCdToc(const std::string& device);

// A 32-bit number that tells discs apart by their tables of contents.
uint32_t CdTocSerial(const CdToc& toc);

} // namespace wb::media
