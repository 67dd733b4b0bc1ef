#pragma once
// An icon held as the bytes of an icon file, checked when it is loaded: the
// directory and every image it points to lie inside the bytes given. Its
// first image can be drawn into a bitmap over a background colour.
#include <cstdint>
#include <functional>
#include <vector>

#include "tag_editor/controls/pictures/VlBitmap.h"

namespace velmora {

class TIcon {
public:
    bool Empty() const { return bytes_.empty(); }
    // Raises EInvalidGraphic for anything that is not a whole icon file, and
    // keeps what it held.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);
    const std::vector<std::uint8_t>& SaveToBytes() const { return bytes_; }
    void Assign(const TIcon& source);
    void Clear();

    int Width() const;   // of the first image; 0 when empty
    int Height() const;
    // The first image (1, 4, 8, 24 or 32 bits), with its masked-out pixels in
    // the background colour, as a 24-bit bitmap.
    TBitmap ToBitmap(TColor background) const;

    std::function<void()> OnChange;

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace velmora
