// Reads any bytes as an animated cursor and hands its frames on to a bitmap
// strip, an icon list and a GIF image.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "tag_editor/controls/pictures/AniFile.h"
#include "tag_editor/controls/pictures/IcoList.h"
#include "tag_editor/controls/pictures/VlGIF.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    TAnimatedCursorImage ani;
    try {
        ani.LoadFromBytes(data, size);
    } catch (const std::exception&) {
        return 0;
    }
    try {
        TBitmap strip;
        ani.AssignTo(strip, wb::gui::clWhite);
    } catch (const std::exception&) {
    }
    TIconList list;
    ani.AssignTo(list);
    try {
        TGIFImage gif;
        gif.Assign(ani);
    } catch (const std::exception&) {
    }
    return 0;
}
