#pragma once
// Animated cursors (RIFF "ACON"): the frames as icons with their rates and
// hot spots, handed on to an icon, a bitmap strip or an icon list. Every
// chunk size, count and offset in the file is checked against the bytes that
// are left before it is used.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Geometry.h"
#include "tag_editor/controls/pictures/VlIcon.h"

namespace velmora {

class TIconList;

struct TAniHeader {
    std::uint32_t StructSize = 0, Frames = 0, Steps = 0, Width = 0, Height = 0, BitCount = 0,
                  Planes = 0, DisplayRate = 0, Flags = 0;
};

class TIconFrame {
public:
    std::unique_ptr<TIcon> Icon;
    bool IsIcon = false;
    std::uint8_t ChunkHeader[8] = {};
    wb::gui::Point HotSpot;
    std::int32_t Rate = 0;         // jiffies (1/60 s)
    std::int32_t IconNumber = -1;  // the "icon" chunk shown, -1 for one no step named

    void Assign(const TIconFrame& source);
    // The frame's image over white, empty without one.
    TBitmap Bitmap() const;
};

class TAnimatedCursorImage {
public:
    TAniHeader Header;
    std::string Title, Creator;
    std::uint16_t ColorCount = 0;

    int FrameCount() const { return int(frames_.size()); }
    const TIconFrame& Frame(int i) const { return *frames_.at(std::size_t(i)); }
    const TIcon* FrameIcon(int i) const { return frames_.at(std::size_t(i))->Icon.get(); }

    // Structural faults raise EReadError; nothing is left half-read then
    // except what the cursor held is cleared.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);
    void LoadFromFile(const std::string& path);
    [[noreturn]] void SaveToStream() const;

    void Assign(const TAnimatedCursorImage& source);
    void Clear();
    void AssignTo(TIcon& icon) const;
    // All frames side by side over the brush colour, reduced to the smallest
    // format that holds max(colour count, 16) colours.
    void AssignTo(TBitmap& bitmap, TColor brushColor) const;
    void AssignTo(TIconList& list) const;

private:
    std::vector<std::unique_ptr<TIconFrame>> frames_;
};

} // namespace velmora
