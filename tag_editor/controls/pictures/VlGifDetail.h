#pragma once
// What the GIF units share inside: their failure, the progress call of a long
// step and the walk over data sub-blocks.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "tag_editor/controls/pictures/VlGIF.h"

namespace velmora::gifdetail {

[[noreturn]] inline void Fail(const char* message) { throw EInvalidGraphicOperation(message); }

inline void ProgressAt(const TProgressEvent& progress, TProgressStage stage, int percent,
                       const std::string& msg = {}) {
    if (progress) progress(stage, percent, msg);
}

// Visits the data sub-blocks that begin at p: take(bytes, count) for each
// block before the terminator, its count cut at the end of the n bytes.
// True when the terminator was reached.
template <class Take>
bool EachSubBlock(const std::uint8_t* p, std::size_t n, Take&& take) {
    for (std::size_t pos = 0; pos < n; pos += 1 + std::size_t(p[pos])) {
        if (p[pos] == 0) return true;
        take(p + pos + 1, std::min<std::size_t>(p[pos], n - pos - 1));
    }
    return false;
}

} // namespace velmora::gifdetail
