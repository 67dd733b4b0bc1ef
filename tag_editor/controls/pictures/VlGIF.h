#pragma once
// GIF87a and GIF89a pictures: every image of a file kept as a frame with its
// extensions, decoded into a bitmap only when the bitmap is asked for, and
// encoded only when a frame has no encoded data, so a file read and written
// again keeps its image data byte for byte.
//
// The LZW decoder treats every code it cannot resolve from the strings it has
// built (a code past the next free one, a string code with no string before
// it) as damaged data, and every read is bounded by the bytes that are left.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tag_editor/controls/pictures/VlBitmap.h"

namespace velmora {

class TAnimatedCursorImage;
class TByteReader;

class EInvalidGraphicOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True: damaged image data marks the frame corrupted and shows what could be
// decoded; false: it raises EInvalidGraphicOperation.
extern bool AcceptCorruptGif;

// The one way to change AcceptCorruptGif for a while: sets it and gives the
// former value back when the scope ends, thrown out of or not.
class TAcceptCorruptGifScope {
public:
    explicit TAcceptCorruptGifScope(bool accept) : former_(AcceptCorruptGif) { AcceptCorruptGif = accept; }
    ~TAcceptCorruptGifScope() { AcceptCorruptGif = former_; }
    TAcceptCorruptGifScope(const TAcceptCorruptGifScope&) = delete;
    TAcceptCorruptGifScope& operator=(const TAcceptCorruptGifScope&) = delete;

private:
    bool former_;
};

struct TGIFColorTable {
    int Count = 0;  // 0: no table
    std::array<std::uint8_t, 768> Colors{};  // red, green, blue
    TColor Color(int i) const {
        return wb::gui::RGBColor(Colors[std::size_t(3 * i)], Colors[std::size_t(3 * i + 1)],
                                 Colors[std::size_t(3 * i + 2)]);
    }
    int IndexOf(TColor color) const;  // the first entry of that colour, or -1
};

// Screen-level data, shared by copies of an image.
struct TGIFData {
    std::vector<std::string> Comment;
    std::uint8_t AspectRatio = 0;
    int BitsPerPixel = 0;
    int ColorResBits = 0;
    TGIFColorTable ColorTable;
};

// A frame's encoded data, shared by copies of the frame: the minimum code size
// byte and the data sub-blocks as in the file.
struct TGIFItem {
    std::vector<std::uint8_t> Data;
    int Width = 0, Height = 0;
    std::uint8_t Packed = 0;
    int BitsPerPixel = 0;
    TGIFColorTable ColorTable;
};

enum TExtensionKind : std::uint8_t { ekGraphicControl, ekPlainText, ekApplication, ekComment };

struct TExtension {
    TExtensionKind Kind = ekComment;
    std::vector<std::uint8_t> Fixed;  // the fixed part, from its block-size byte on
    std::vector<std::string> Data;    // one line per data sub-block
    std::uint8_t Label() const;
};

enum class TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = std::function<void(TProgressStage stage, int percent, const std::string& msg)>;

class TGIFImage;

class TGIFFrame {
public:
    explicit TGIFFrame(TGIFImage* owner);

    TGIFImage* Owner() const { return owner_; }
    // Decodes on first use; an empty bitmap when there is no encoded data.
    TBitmap& Bitmap();
    bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
    const std::shared_ptr<TGIFItem>& Item() const { return item_; }
    std::vector<TExtension>& Extensions() { return extensions_; }
    const std::vector<TExtension>& Extensions() const { return extensions_; }
    std::vector<std::string>& Comment();  // the last comment extension's lines

    int Width() const;
    int Height() const;

    int Left = 0, Top = 0;
    bool Interlaced = false;
    bool Corrupted = false;
    bool GrayScale = false;
    TColor TransparentColor = wb::gui::clNone;
    // Milliseconds; 32 bits, so a delay of 6554 hundredths or more survives.
    std::uint32_t AnimateInterval = 0;
    std::uint8_t DisposalMethod = 0;
    bool LocalColors = false;

    void Assign(const TGIFFrame& source);
    void Assign(const TBitmap& source);  // an empty bitmap clears the frame
    void Clear();                        // from nothing: reset, bitmap removed

    // Reading after ",": fills the frame from the descriptor on. A file that
    // ends inside the descriptor, the colour table or before the code size is
    // a read error; one that ends inside the data sub-blocks marks the frame
    // corrupted.
    void ReadFrom(TByteReader& reader, const std::vector<TExtension>& group);
    // Encodes the bitmap when there is no encoded data.
    void Encode(const TProgressEvent& progress);

private:
    void Reset();
    TGIFImage* owner_;
    std::unique_ptr<TBitmap> bitmap_;
    std::shared_ptr<TGIFItem> item_;
    std::vector<TExtension> extensions_;
    int transparentIndex_ = -1;  // as read; kept on write while it holds the colour
    friend class TGIFImage;
};

class TGIFImage {
public:
    TGIFImage();
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    std::shared_ptr<TGIFData> Data() const { return data_; }
    int Version() const { return version_; }  // 0 unset, 1 87a, 2 89a
    std::string VersionText() const;
    int Count() const { return int(frames_.size()); }
    TGIFFrame& Frames(int index) { return *frames_.at(std::size_t(index)); }
    const TGIFFrame& Frames(int index) const { return *frames_.at(std::size_t(index)); }
    int FrameIndex = -1;
    std::uint16_t ScreenWidth() const { return screenWidth_; }
    std::uint16_t ScreenHeight() const { return screenHeight_; }
    TColor BackgroundColor = wb::gui::clNone;
    bool Looping = false;
    std::uint16_t RepeatCount = 1;
    bool Transparent = true;
    std::function<void()> OnChange;
    TProgressEvent OnProgress;

    int AddFrame(const TBitmap& bitmap);
    void DeleteFrame(int index);
    TBitmap& Bitmap();  // the current frame's; adds an empty frame to an empty image
    bool Empty() const;
    int Width();
    int Height();
    [[noreturn]] void SetWidth(int);
    [[noreturn]] void SetHeight(int);
    bool Equals(const TGIFImage& other) const { return data_ == other.data_; }
    bool GetTransparent() const;

    // Loads exactly the bytes given; the first frame is decoded at once when asked.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size, bool decodeFirst = true);
    void LoadFromBytes(const std::vector<std::uint8_t>& bytes) {
        LoadFromBytes(bytes.data(), bytes.size());
    }
    void LoadFromFile(const std::string& path);
    // A 32-bit length, then the file.
    void ReadData(const std::uint8_t* data, std::size_t size);
    std::vector<std::uint8_t> SaveToBytes();
    std::vector<std::uint8_t> WriteData();

    void Assign(const TGIFImage& source);
    void Assign(const TGIFFrame& source);
    void Assign(const TBitmap& source);
    void Assign(const TAnimatedCursorImage& source);
    void Clear();

    void RecomputeScreenSize();

private:
    void NewImage();
    void Changed() {
        if (OnChange) OnChange();
    }
    std::shared_ptr<TGIFData> data_;
    int version_ = 0;
    std::vector<std::unique_ptr<TGIFFrame>> frames_;
    std::uint16_t screenWidth_ = 0, screenHeight_ = 0;
    friend class TGIFFrame;
};

// The LZW of the GIF format. Decoding writes colour indices into a bitmap of
// 1, 4 or 8 bits (zero-filled before); it returns true when the data was
// damaged (with AcceptCorruptGif false that raises instead).
bool GifLzwDecode(const std::vector<std::uint8_t>& data, TBitmap& bitmap, int bitsPerPixel,
                  bool interlaced, const TProgressEvent& progress = {});
// Encodes a bitmap of 1, 4 or 8 bits: the minimum code size byte, the data
// sub-blocks and the terminator.
void GifLzwEncode(const TBitmap& bitmap, bool interlaced, std::vector<std::uint8_t>& out,
                  const TProgressEvent& progress = {});

} // namespace velmora
