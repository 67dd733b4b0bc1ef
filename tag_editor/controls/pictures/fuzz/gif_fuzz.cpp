// Reads any bytes as a GIF, decodes every frame of a sane size, writes the
// image and reads what was written.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "tag_editor/controls/pictures/VlGIF.h"

static void ReadAll(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    TGIFImage gif;
    try {
        gif.LoadFromBytes(data, size, false);
    } catch (const std::exception&) {
    }
    for (int i = 0; i < gif.Count(); ++i) {
        TGIFFrame& frame = gif.Frames(i);
        // Large frames are refused by the reader itself; small ones keep each run quick.
        if (std::uint64_t(frame.Width()) * std::uint64_t(frame.Height()) > (1u << 20)) continue;
        try {
            frame.Bitmap();
        } catch (const std::exception&) {
        }
    }
    try {
        std::vector<std::uint8_t> written = gif.SaveToBytes();
        TGIFImage again;
        again.LoadFromBytes(written.data(), written.size(), false);
    } catch (const std::exception&) {
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Damaged data accepted and marked, then refused.
    for (bool accept : {true, false}) {
        velmora::TAcceptCorruptGifScope scope(accept);
        ReadAll(data, size);
    }
    return 0;
}
