#include "tag_editor/controls/pictures/VlGIF.h"

#include "tag_editor/controls/pictures/VlGifDetail.h"

#include <algorithm>
#include <cstring>

#include "platform/base/ScopeExit.h"
#include "tag_editor/controls/pictures/AniFile.h"
#include "tag_editor/controls/pictures/VlBytes.h"
#include "tag_editor/controls/pictures/VlGraph.h"

namespace velmora {

bool AcceptCorruptGif = true;

using gifdetail::Fail;
using gifdetail::ProgressAt;

namespace {

const char* const kStreamRead = "Stream-Read-Fehler";
const char* const kNoData = "No GIF Data to write";
const char* const kWrongColors = "Wrong number of colors; must be a power of 2";
const char* const kTooLarge = "A GIF image cannot be wider or taller than 65535 pixels";

// 2 → 1, 4 → 2, ..., 256 → 8.
int BitsOfCount(int count) {
    for (int b = 1; b <= 8; ++b)
        if (count == (1 << b)) return b;
    Fail(kWrongColors);
}

// The smallest b >= 1 with 2^b >= count.
int BitsFor(int count) {
    int b = 1;
    while (b < 8 && (1 << b) < count) ++b;
    return b;
}

// Lines as data sub-blocks; a line longer than 255 bytes goes on in further
// sub-blocks instead of being cut.
void WriteLines(std::vector<std::uint8_t>& out, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        for (std::size_t at = 0; at < line.size(); at += 255) {
            std::size_t n = std::min<std::size_t>(255, line.size() - at);
            out.push_back(std::uint8_t(n));
            out.insert(out.end(), line.begin() + std::ptrdiff_t(at),
                       line.begin() + std::ptrdiff_t(at + n));
        }
    }
    out.push_back(0);
}

// A block cut off by the end of the file gives what there is of it.
std::vector<std::string> ReadLines(TByteReader& r) {
    std::vector<std::string> lines;
    for (;;) {
        int n = r.Byte();
        if (n <= 0) break;
        const std::size_t got = std::min<std::size_t>(std::size_t(n), r.Left());
        lines.emplace_back(reinterpret_cast<const char*>(r.Here()), got);
        r.Skip(got);
    }
    return lines;
}

bool ReadTable(TByteReader& r, TGIFColorTable& table, int bits) {
    table.Count = 1 << bits;
    table.Colors.fill(0);
    return r.Read(table.Colors.data(), std::size_t(table.Count) * 3);
}

// A file that ends before the extension's fixed part does is a read error;
// only its data sub-blocks may be cut.
TExtension ReadExtension(TByteReader& r) {
    int label = r.Byte();
    if (label < 0) Fail(kStreamRead);
    TExtension e;
    std::size_t fixed = 0;
    switch (label) {
    case 0xF9: e.Kind = ekGraphicControl; fixed = 6; break;
    case 0xFE: e.Kind = ekComment; break;
    case 0x01: e.Kind = ekPlainText; fixed = 13; break;
    case 0xFF: e.Kind = ekApplication; fixed = 12; break;
    default: {
        char text[64];
        std::snprintf(text, sizeof text, "Unrecognized extension block: %.2x", unsigned(label));
        throw EInvalidGraphicOperation(text);
    }
    }
    e.Fixed.resize(fixed);
    if (!r.Read(e.Fixed.data(), fixed)) Fail(kStreamRead);
    if (e.Kind != ekGraphicControl) e.Data = ReadLines(r);
    return e;
}

// A loop block names its application in exactly 11 bytes.
bool IsLoopExtension(const TExtension& e) {
    if (e.Fixed.size() != 12 || e.Fixed[0] != 11) return false;
    const char* id = reinterpret_cast<const char*>(e.Fixed.data() + 1);
    if (std::memcmp(id, "NETSCAPE2.0", 11) != 0 && std::memcmp(id, "ANIMEXTS1.0", 11) != 0)
        return false;
    return !e.Data.empty() && e.Data[0].size() >= 3 && e.Data[0][0] == 1;
}

// Whether the data sub-blocks end with their terminator.
bool HasTerminator(const std::vector<std::uint8_t>& data) {
    return data.size() > 1 && gifdetail::EachSubBlock(data.data() + 1, data.size() - 1, [](auto, auto) {});
}

// The bytes of the data sub-blocks from here up to and with the
// terminator, or to the end of the data.
std::size_t BlocksLength(const std::uint8_t* at, std::size_t left) {
    std::size_t n = 0;
    if (gifdetail::EachSubBlock(at, left, [&](auto, std::size_t count) { n += 1 + count; })) ++n;
    return n;
}

} // namespace

std::uint8_t TExtension::Label() const {
    static const std::uint8_t labels[] = {0xF9, 0x01, 0xFF, 0xFE};
    return labels[Kind & 3];
}

int TGIFColorTable::IndexOf(TColor color) const {
    for (int i = 0; i < Count; ++i)
        if (Color(i) == color) return i;
    return -1;
}

// ---- frames ----

TGIFFrame::TGIFFrame(TGIFImage* owner) : owner_(owner), item_(std::make_shared<TGIFItem>()) {}

int TGIFFrame::Width() const {
    if (bitmap_ && !bitmap_->Empty()) return bitmap_->Width();
    return item_ && !item_->Data.empty() ? item_->Width : 0;
}

int TGIFFrame::Height() const {
    if (bitmap_ && !bitmap_->Empty()) return bitmap_->Height();
    return item_ && !item_->Data.empty() ? item_->Height : 0;
}

std::vector<std::string>& TGIFFrame::Comment() {
    for (auto it = extensions_.rbegin(); it != extensions_.rend(); ++it)
        if (it->Kind == ekComment) return it->Data;
    extensions_.push_back(TExtension{ekComment, {}, {}});
    return extensions_.back().Data;
}

TBitmap& TGIFFrame::Bitmap() {
    if (bitmap_ && !bitmap_->Empty()) return *bitmap_;
    bitmap_ = std::make_unique<TBitmap>();
    if (!item_ || item_->Data.empty()) return *bitmap_;
    const TGIFItem& item = *item_;
    int bpp = item.BitsPerPixel;
    TPixelFormat pf;
    if (bpp == 1)
        pf = pf1bit;
    else if (bpp >= 2 && bpp <= 4)
        pf = pf4bit;
    else if (bpp >= 5 && bpp <= 8)
        pf = pf8bit;
    else
        Fail(kWrongColors);
    // Sizes in 64 bits, bounded before the rows are allocated.
    std::uint64_t bytes = (std::uint64_t(unsigned(item.Width)) * unsigned(PixelFormatBits(pf)) + 31) /
                          32 * 4 * std::uint64_t(unsigned(item.Height));
    if (item.Width < 0 || item.Height < 0 || bytes > MaxBitmapBytes)
        Fail("GIF frame is too large");
    TBitmap b(item.Width, item.Height, pf);
    for (std::size_t i = 0; i < b.Palette.size(); ++i) {
        if (int(i) < item.ColorTable.Count)
            b.Palette[i] = {item.ColorTable.Colors[3 * i + 2], item.ColorTable.Colors[3 * i + 1],
                            item.ColorTable.Colors[3 * i], 0};
        else
            b.Palette[i] = {128, 128, 128, 128};
    }
    if (GifLzwDecode(item.Data, b, bpp, Interlaced, owner_ ? owner_->OnProgress : TProgressEvent{}))
        Corrupted = true;
    *bitmap_ = std::move(b);
    return *bitmap_;
}

void TGIFFrame::Reset() {
    item_ = std::make_shared<TGIFItem>();
    GrayScale = Corrupted = false;
    TransparentColor = wb::gui::clNone;
    transparentIndex_ = -1;
    Left = Top = 0;
    Interlaced = false;
    AnimateInterval = 0;
    DisposalMethod = 0;
    LocalColors = false;
}

void TGIFFrame::Clear() {
    Reset();
    bitmap_.reset();
    if (owner_) owner_->RecomputeScreenSize();
}

void TGIFFrame::Assign(const TGIFFrame& source) {
    if (&source == this) return;
    item_ = source.item_;
    LocalColors = owner_ == source.owner_ ? source.LocalColors : true;
    Left = source.Left;
    Top = source.Top;
    Interlaced = source.Interlaced;
    TransparentColor = source.TransparentColor;
    transparentIndex_ = source.transparentIndex_;
    AnimateInterval = source.AnimateInterval;
    DisposalMethod = source.DisposalMethod;
    GrayScale = source.GrayScale;
    Corrupted = source.Corrupted;
    bitmap_ = source.bitmap_ ? std::make_unique<TBitmap>(*source.bitmap_) : nullptr;
    for (auto it = source.extensions_.rbegin(); it != source.extensions_.rend(); ++it) {
        if (it->Kind != ekComment) continue;
        if (!it->Data.empty()) Comment() = it->Data;
        break;
    }
    if (owner_) owner_->RecomputeScreenSize();
}

void TGIFFrame::Assign(const TBitmap& source) {
    if (source.Empty()) {
        Reset();
        bitmap_.reset();
        return;
    }
    Reset();
    bitmap_ = std::make_unique<TBitmap>(source);
    if (source.Transparent) TransparentColor = source.TransparentColor;
    if (owner_) owner_->RecomputeScreenSize();
}

void TGIFFrame::ReadFrom(TByteReader& r, const std::vector<TExtension>& group) {
    TGIFImage& image = *owner_;
    TGIFItem& item = *item_;
    const TGIFColorTable& global = image.data_->ColorTable;
    if (global.Count > 0) item.BitsPerPixel = BitsOfCount(global.Count);
    std::uint8_t d[9];
    if (!r.Read(d, 9)) Fail(kStreamRead);
    Left = GetLE16(d);
    Top = GetLE16(d + 2);
    item.Width = GetLE16(d + 4);
    item.Height = GetLE16(d + 6);
    item.Packed = d[8];
    Interlaced = (d[8] & 0x40) != 0;
    if (d[8] & 0x80) {
        item.BitsPerPixel = (d[8] & 7) + 1;
        if (!ReadTable(r, item.ColorTable, item.BitsPerPixel)) Fail(kStreamRead);
        LocalColors = true;
    } else {
        item.ColorTable = {};
        LocalColors = false;
    }
    int minSize = r.Byte();
    if (minSize < 0) Fail(kStreamRead);
    item.Data.reserve(1 + BlocksLength(r.Here(), r.Left()));
    item.Data.push_back(std::uint8_t(minSize));
    for (;;) {
        int n = r.Byte();
        if (n < 0) break;
        if (std::size_t(n) > r.Left()) {  // a block that runs past the end
            Corrupted = true;
            r.SkipToEnd();  // what is left is that block's, not a further one
            break;
        }
        item.Data.push_back(std::uint8_t(n));
        item.Data.insert(item.Data.end(), r.Here(), r.Here() + n);
        r.Skip(std::size_t(n));
        if (n == 0) break;
    }
    if (Corrupted && !AcceptCorruptGif) Fail(kStreamRead);
    if (item.Width == 0) item.Width = image.screenWidth_;
    if (item.Height == 0) item.Height = image.screenHeight_;
    if (!LocalColors) item.ColorTable = global;
    extensions_ = group;
    AnimateInterval = 0;
    for (const TExtension& e : extensions_) {
        if (e.Kind != ekGraphicControl || e.Fixed.size() < 6) continue;
        std::uint8_t packed = e.Fixed[1];
        int index = e.Fixed[4];
        if (packed & 1) {
            if (index < item.ColorTable.Count) {
                TransparentColor = item.ColorTable.Color(index);
                transparentIndex_ = index;
            }
        } else {
            TransparentColor = wb::gui::clNone;
            transparentIndex_ = -1;
        }
        AnimateInterval = std::max<std::uint32_t>(AnimateInterval, std::uint32_t(GetLE16(e.Fixed.data() + 2)) * 10);
        DisposalMethod = (packed >> 2) & 7;
    }
}

void TGIFFrame::Encode(const TProgressEvent& progress) {
    if (item_ && !item_->Data.empty()) return;
    if (!bitmap_ || bitmap_->Empty()) Fail(kNoData);
    TBitmap reduced;
    const TBitmap* source = bitmap_.get();
    int bits = source->BitCount();
    if (bits != 1 && bits != 4 && bits != 8) {
        TReductionMethod method = GrayScale ? rmGreyLevels : DefaultReductionMethod;
        std::vector<std::uint8_t> file = ConvertTo8Bit(*source, pf8bit, method);
        reduced.LoadFromBytes(file.data(), file.size());
        if (method == rmGreyLevels) GrayScale = true;
        source = &reduced;
        bits = reduced.BitCount();
    }
    if (bits != 1 && bits != 4 && bits != 8) Fail("GIF image encoding error");
    Interlaced = false;
    auto item = std::make_shared<TGIFItem>();
    const int colours = std::min<int>(256, 1 << bits);
    item->ColorTable.Count = colours;
    for (int i = 0; i < colours; ++i) {
        const TRGBQuad& q = source->Palette[std::size_t(i)];
        item->ColorTable.Colors[std::size_t(3 * i)] = q.Red;
        item->ColorTable.Colors[std::size_t(3 * i + 1)] = q.Green;
        item->ColorTable.Colors[std::size_t(3 * i + 2)] = q.Blue;
    }
    GifLzwEncode(*source, false, item->Data, progress);
    item->BitsPerPixel = BitsFor(colours);
    TGIFData& screen = *owner_->data_;
    if (screen.ColorTable.Count == 0) {
        screen.ColorTable = item->ColorTable;
        screen.BitsPerPixel = item->BitsPerPixel;
        LocalColors = false;
    } else {
        LocalColors = true;
    }
    item->Width = source->Width();
    item->Height = source->Height();
    item_ = std::move(item);
    owner_->RecomputeScreenSize();
}

// ---- the image ----

TGIFImage::TGIFImage() { NewImage(); }

void TGIFImage::NewImage() {
    data_ = std::make_shared<TGIFData>();
    frames_.clear();
    FrameIndex = -1;
    BackgroundColor = wb::gui::clNone;
    RepeatCount = 1;
    Looping = false;
    version_ = 0;
    screenWidth_ = screenHeight_ = 0;
}

std::string TGIFImage::VersionText() const {
    static const char* const texts[] = {"", "87a", "89a"};
    return texts[version_];
}

void TGIFImage::RecomputeScreenSize() {
    std::int64_t w = 0, h = 0;
    for (const auto& f : frames_) {
        w = std::max<std::int64_t>(w, std::int64_t(f->Left) + f->Width());
        h = std::max<std::int64_t>(h, std::int64_t(f->Top) + f->Height());
    }
    // The stored size is 16 bits; writing refuses anything larger.
    screenWidth_ = std::uint16_t(std::min<std::int64_t>(w, 65535));
    screenHeight_ = std::uint16_t(std::min<std::int64_t>(h, 65535));
}

int TGIFImage::AddFrame(const TBitmap& bitmap) {
    frames_.push_back(std::make_unique<TGIFFrame>(this));
    FrameIndex = int(frames_.size()) - 1;
    frames_.back()->Assign(bitmap);
    if (version_ == 0) version_ = 1;
    if (frames_.size() > 1) version_ = 2;
    return FrameIndex;
}

void TGIFImage::DeleteFrame(int index) {
    frames_.erase(frames_.begin() + index);
    if (FrameIndex >= int(frames_.size())) FrameIndex = int(frames_.size()) - 1;
}

TBitmap& TGIFImage::Bitmap() {
    if (frames_.empty()) AddFrame(TBitmap());
    int i = FrameIndex >= 0 && FrameIndex < Count() ? FrameIndex : 0;
    return frames_[std::size_t(i)]->Bitmap();
}

bool TGIFImage::Empty() const {
    if (frames_.empty()) return true;
    const TGIFFrame& f = *frames_[std::size_t(FrameIndex >= 0 && FrameIndex < Count() ? FrameIndex : 0)];
    return !f.HasBitmap() && (!f.item_ || f.item_->Data.empty());
}

int TGIFImage::Width() {
    if (Empty() || FrameIndex < 0 || FrameIndex >= Count()) return 0;
    return frames_[std::size_t(FrameIndex)]->Bitmap().Width();
}

int TGIFImage::Height() {
    if (Empty() || FrameIndex < 0 || FrameIndex >= Count()) return 0;
    return frames_[std::size_t(FrameIndex)]->Bitmap().Height();
}

void TGIFImage::SetWidth(int) { Fail("Cannot change the Size of a GIF image"); }
void TGIFImage::SetHeight(int) { Fail("Cannot change the Size of a GIF image"); }

bool TGIFImage::GetTransparent() const {
    if (!Transparent) return false;
    for (const auto& f : frames_)
        if (f->TransparentColor != wb::gui::clNone) return true;
    return false;
}

void TGIFImage::LoadFromBytes(const std::uint8_t* bytes, std::size_t size, bool decodeFirst) {
    NewImage();
    if (size == 0) return;
    TByteReader r(bytes, size);
    char sig[6];
    if (!r.Read(sig, 6)) Fail("Unknown GIF version");
    auto lower = [](char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    for (char& c : sig) c = lower(c);
    if (std::memcmp(sig, "gif", 3) != 0) Fail("Unknown GIF version");
    if (std::memcmp(sig + 3, "87a", 3) == 0)
        version_ = 1;
    else if (std::memcmp(sig + 3, "89a", 3) == 0)
        version_ = 2;
    else
        Fail("Unknown GIF version");
    std::uint8_t lsd[7];
    if (!r.Read(lsd, 7)) Fail(kStreamRead);
    screenWidth_ = GetLE16(lsd);
    screenHeight_ = GetLE16(lsd + 2);
    data_->AspectRatio = lsd[6];
    data_->BitsPerPixel = (lsd[4] & 7) + 1;
    data_->ColorResBits = ((lsd[4] >> 4) & 7) + 1;
    if (lsd[4] & 0x80) {
        if (!ReadTable(r, data_->ColorTable, data_->BitsPerPixel)) Fail(kStreamRead);
        if (lsd[5] < data_->ColorTable.Count) BackgroundColor = data_->ColorTable.Color(lsd[5]);
    }
    // A read error from here on leaves the frames read before it in the
    // image; the frame begun is not added.
    int b = r.Byte();
    while (b > 0 && b != ';') {
        std::vector<TExtension> group;
        while (b == '!') {
            TExtension e = ReadExtension(r);
            if (e.Kind == ekGraphicControl || e.Kind == ekComment) {
                group.push_back(std::move(e));
            } else if (e.Kind == ekPlainText) {
                group.clear();
            } else if (IsLoopExtension(e)) {
                Looping = true;
                RepeatCount = std::min<std::uint16_t>(
                    GetLE16(reinterpret_cast<const std::uint8_t*>(e.Data[0].data()) + 1), 30000);
            }
            b = r.Byte();
            if (b < 0) b = ';';
        }
        if (b == ',') {
            auto frame = std::make_unique<TGIFFrame>(this);
            frame->ReadFrom(r, group);
            frames_.push_back(std::move(frame));
            do b = r.Byte();
            while (b == 0);
            if (b < 0) b = ';';
            if (b != '!' && b != ',' && b != ';') b = 0;
            continue;
        }
        if (!group.empty() && data_->Comment.empty()) {
            for (const TExtension& e : group) {
                if (e.Kind != ekComment) continue;
                if (!data_->Comment.empty()) data_->Comment.push_back("\r\n\r\n");
                data_->Comment.insert(data_->Comment.end(), e.Data.begin(), e.Data.end());
            }
            continue;
        }
        if (b != 0 && b != ';') Fail(kStreamRead);
    }
    if (!frames_.empty()) {
        FrameIndex = 0;
        if (decodeFirst) {
            auto dropFirst = wb::OnScopeFailure([&] {
                frames_.erase(frames_.begin());
                FrameIndex = frames_.empty() ? -1 : 0;
            });
            frames_[0]->Bitmap();
        }
    }
    Changed();
}

void TGIFImage::LoadFromFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadRegularFile(path, bytes)) throw EInvalidGraphicOperation("Cannot read the picture " + path);
    LoadFromBytes(bytes.data(), bytes.size());
}

void TGIFImage::ReadData(const std::uint8_t* bytes, std::size_t size) {
    if (size < 4) Fail(kStreamRead);
    std::uint32_t n = GetLE32(bytes);
    if (n > size - 4) Fail(kStreamRead);
    LoadFromBytes(bytes + 4, n);
}

std::vector<std::uint8_t> TGIFImage::SaveToBytes() {
    if (frames_.empty()) Fail(kNoData);
    for (auto& f : frames_) {
        f->Encode(OnProgress);
        TGIFItem& item = *f->item_;
        const std::int64_t right = std::int64_t(f->Left) + item.Width;
        const std::int64_t bottom = std::int64_t(f->Top) + item.Height;
        if (f->Left < 0 || f->Top < 0 || right > 65535 || bottom > 65535) Fail(kTooLarge);
        auto& ext = f->extensions_;
        bool hasControl = std::any_of(ext.begin(), ext.end(),
                                      [](const TExtension& e) { return e.Kind == ekGraphicControl; });
        if (!hasControl && (f->AnimateInterval > 0 || f->TransparentColor != wb::gui::clNone ||
                            f->DisposalMethod != 0))
            ext.insert(ext.begin(), TExtension{ekGraphicControl, {4, 0, 0, 0, 0, 0}, {}});
        for (TExtension& e : ext) {
            if (e.Kind != ekGraphicControl) continue;
            e.Fixed.resize(6);
            e.Fixed[0] = 4;
            SetLE16(e.Fixed.data() + 2, std::min<std::uint32_t>(f->AnimateInterval / 10, 65535));
            int index = -1;
            if (f->TransparentColor != wb::gui::clNone) {
                // The index read from the file stays while it still holds the
                // colour; another entry of the same colour is no reason to move.
                if (f->transparentIndex_ >= 0 && f->transparentIndex_ < item.ColorTable.Count &&
                    item.ColorTable.Color(f->transparentIndex_) == f->TransparentColor)
                    index = f->transparentIndex_;
                else
                    index = item.ColorTable.IndexOf(f->TransparentColor);
            }
            std::uint8_t packed = std::uint8_t(e.Fixed[1] & ~0x1D);
            if (index >= 0) {
                packed |= 1;
                e.Fixed[4] = std::uint8_t(index);
            }
            packed = std::uint8_t(packed | ((f->DisposalMethod & 7) << 2));
            e.Fixed[1] = packed;
            e.Fixed[5] = 0;
        }
        ext.erase(std::remove_if(ext.begin(), ext.end(),
                                 [](const TExtension& e) { return e.Kind == ekComment && e.Data.empty(); }),
                  ext.end());
        if (!ext.empty()) version_ = 2;
    }
    if (!data_->Comment.empty()) version_ = 2;
    if (version_ == 0) version_ = 1;
    RecomputeScreenSize();

    std::vector<std::uint8_t> out;
    out.insert(out.end(), {'G', 'I', 'F'});
    std::string v = VersionText();
    out.insert(out.end(), v.begin(), v.end());
    PutLE16(out, screenWidth_);
    PutLE16(out, screenHeight_);
    const TGIFColorTable& global = data_->ColorTable;
    if (global.Count == 0) {
        out.push_back(0);
        out.push_back(0);
    } else {
        int bits = BitsOfCount(global.Count);
        out.push_back(std::uint8_t(0x80 + (bits - 1) * 16 + (bits - 1)));
        int bg = BackgroundColor == wb::gui::clNone ? -1 : global.IndexOf(BackgroundColor);
        out.push_back(std::uint8_t(bg < 0 ? 0 : bg));
    }
    out.push_back(data_->AspectRatio);
    out.insert(out.end(), global.Colors.begin(), global.Colors.begin() + 3 * global.Count);
    if (Looping && frames_.size() > 1) {
        out.insert(out.end(), {'!', 0xFF, 11});
        const char* id = "NETSCAPE2.0";
        out.insert(out.end(), id, id + 11);
        out.insert(out.end(), {3, 1, std::uint8_t(RepeatCount), std::uint8_t(RepeatCount >> 8), 0});
    }
    for (auto& f : frames_) {
        for (const TExtension& e : f->extensions_) {
            out.push_back('!');
            out.push_back(e.Label());
            out.insert(out.end(), e.Fixed.begin(), e.Fixed.end());
            if (e.Kind != ekGraphicControl) WriteLines(out, e.Data);
        }
        const TGIFItem& item = *f->item_;
        out.push_back(',');
        PutLE16(out, unsigned(f->Left));
        PutLE16(out, unsigned(f->Top));
        PutLE16(out, unsigned(item.Width));
        PutLE16(out, unsigned(item.Height));
        std::uint8_t packed = 0;
        int bits = BitsFor(item.ColorTable.Count);
        if (f->LocalColors) packed = std::uint8_t(0x80 + bits - 1);
        if (f->Interlaced) packed |= 0x40;
        out.push_back(packed);
        if (f->LocalColors)
            out.insert(out.end(), item.ColorTable.Colors.begin(), item.ColorTable.Colors.begin() + 3 * (1 << bits));
        out.insert(out.end(), item.Data.begin(), item.Data.end());
        // Data cut short in the file it came from still gets its terminator,
        // so the file written is whole.
        if (!HasTerminator(item.Data)) out.push_back(0);
    }
    if (!data_->Comment.empty()) {
        out.insert(out.end(), {'!', 0xFE});
        WriteLines(out, data_->Comment);
    }
    out.push_back(';');
    return out;
}

std::vector<std::uint8_t> TGIFImage::WriteData() {
    std::vector<std::uint8_t> file = SaveToBytes();
    std::vector<std::uint8_t> out;
    PutLE32(out, std::uint32_t(file.size()));
    out.insert(out.end(), file.begin(), file.end());
    return out;
}

void TGIFImage::Assign(const TGIFImage& source) {
    if (&source == this) return;
    data_ = source.data_;
    version_ = source.version_;
    BackgroundColor = source.BackgroundColor;
    RepeatCount = source.RepeatCount;
    Looping = source.Looping;
    frames_.clear();
    for (const auto& sf : source.frames_) {
        frames_.push_back(std::make_unique<TGIFFrame>(this));
        frames_.back()->Assign(*sf);
        frames_.back()->LocalColors = sf->LocalColors;
    }
    screenWidth_ = source.screenWidth_;
    screenHeight_ = source.screenHeight_;
    FrameIndex = source.FrameIndex;
    Changed();
}

void TGIFImage::Assign(const TGIFFrame& source) {
    NewImage();
    if (source.owner_) {
        const TGIFData& from = *source.owner_->data_;
        data_->AspectRatio = from.AspectRatio;
        data_->BitsPerPixel = from.BitsPerPixel;
        data_->ColorResBits = from.ColorResBits;
        data_->ColorTable = from.ColorTable;
    }
    frames_.push_back(std::make_unique<TGIFFrame>(this));
    frames_.back()->Assign(source);
    FrameIndex = 0;
    if (version_ == 0) version_ = 1;
    Changed();
}

void TGIFImage::Assign(const TBitmap& source) {
    NewImage();
    AddFrame(source);
    Changed();
}

void TGIFImage::Assign(const TAnimatedCursorImage& source) {
    NewImage();
    BackgroundColor = wb::gui::clWindow;
    for (int i = 0; i < source.FrameCount(); ++i) {
        int index = AddFrame(source.Frame(i).Bitmap());
        frames_[std::size_t(index)]->AnimateInterval = std::uint32_t(source.Frame(i).Rate) * 100 / 6;
    }
    Changed();
}

void TGIFImage::Clear() {
    NewImage();
    Changed();
}

} // namespace velmora
