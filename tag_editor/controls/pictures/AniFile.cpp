#include "tag_editor/controls/pictures/AniFile.h"

#include <algorithm>
#include <cstring>

#include "tag_editor/controls/pictures/IcoList.h"
#include "tag_editor/controls/pictures/VlBytes.h"
#include "tag_editor/controls/pictures/VlGraph.h"

namespace velmora {

void TIconFrame::Assign(const TIconFrame& source) {
    if (&source == this) return;
    if (!Icon) Icon = std::make_unique<TIcon>();
    if (source.Icon)
        Icon->Assign(*source.Icon);
    else
        Icon->Clear();
    IsIcon = source.IsIcon;
    std::memcpy(ChunkHeader, source.ChunkHeader, sizeof ChunkHeader);
    HotSpot = source.HotSpot;
    Rate = source.Rate;
    IconNumber = source.IconNumber;
}

TBitmap TIconFrame::Bitmap() const {
    return Icon ? Icon->ToBitmap(wb::gui::clWhite) : TBitmap();
}

namespace {

// More steps than this is no cursor anyone drew; it is refused rather than
// copied icon by icon.
constexpr std::size_t kMaxSteps = 4096;

bool IdIs(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

std::vector<std::uint32_t> Values(const std::uint8_t* body, std::uint32_t size) {
    std::vector<std::uint32_t> v;
    if (size / 4 > kMaxSteps) throw EReadError();
    for (std::uint32_t i = 0; i + 4 <= size; i += 4) v.push_back(GetLE32(body + i));
    return v;
}

// One image of an "icon" chunk; false when it cannot be read.
bool ReadIconImage(const std::uint8_t* header, const std::uint8_t* body, std::uint32_t n,
                   TIconFrame& out, std::uint16_t& colorCount) {
    if (n < 6) return false;
    std::vector<std::uint8_t> copy(body, body + n);
    unsigned type = GetLE16(copy.data() + 2);
    out.IsIcon = type == 1;
    if (type == 2) SetLE16(copy.data() + 2, 1);
    else if (type != 1) return false;
    unsigned count = GetLE16(copy.data() + 4);
    if (6 + std::uint64_t(count) * 16 > n) return false;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* e = copy.data() + 6 + 16 * i;
        std::uint64_t size = GetLE32(e + 8), at = GetLE32(e + 12);
        if (at + 16 > n || at + size > n) return false;
        unsigned bits = GetLE16(copy.data() + at + 14);
        std::uint16_t colours = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
        colorCount = std::max(colorCount, colours);
        out.HotSpot = {GetLE16(e + 4), GetLE16(e + 6)};
    }
    out.Icon = std::make_unique<TIcon>();
    try {
        out.Icon->LoadFromBytes(copy.data(), copy.size());
    } catch (const EInvalidGraphic&) {
        return false;
    }
    if (out.IsIcon) out.HotSpot = {out.Icon->Width() / 2, out.Icon->Height() / 2};
    std::memcpy(out.ChunkHeader, header, 8);
    return true;
}

// Walks the chunks of a body; a chunk larger than what is left ends the
// walk, except that a list is walked as far as the bytes go. visit returns
// false to end the walk too.
template <class Visit>
void WalkChunks(const std::uint8_t* p, std::size_t size, Visit visit) {
    TByteReader r(p, size);
    while (r.Left() >= 8) {
        const std::uint8_t* header = r.Here();
        r.Skip(8);
        std::uint32_t n = GetLE32(header + 4);
        if (n > r.Left()) {
            if (!IdIs(header, "LIST")) return;
            n = std::uint32_t(r.Left());
        }
        if (!visit(header, r.Here(), n)) return;
        r.Skip(std::min<std::uint64_t>(std::uint64_t(n) + (n & 1), r.Left()));
    }
}

std::unique_ptr<TIconFrame> NewFrame(std::int32_t iconNumber, std::uint32_t rate) {
    auto f = std::make_unique<TIconFrame>();
    f->IconNumber = iconNumber;
    f->Rate = std::int32_t(rate);
    return f;
}

// What a frame takes of the image its icon number names.
void Receive(TIconFrame& frame, const TIconFrame& image) {
    frame.Icon = std::make_unique<TIcon>();
    frame.Icon->Assign(*image.Icon);
    frame.IsIcon = image.IsIcon;
    std::memcpy(frame.ChunkHeader, image.ChunkHeader, sizeof frame.ChunkHeader);
    frame.HotSpot = image.HotSpot;
}

} // namespace

void TAnimatedCursorImage::Clear() {
    frames_.clear();
    Header = {};
    Title.clear();
    Creator.clear();
    ColorCount = 0;
}

// The chunks act in file order: "anih" makes the frames, each "rate" and
// "seq " chunk sets the frame its own count points at, and each icon goes to
// the frames that name it then, or to a frame of its own.
void TAnimatedCursorImage::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    if (size < 12 || !IdIs(data, "RIFF") || !IdIs(data + 8, "ACON")) throw EReadError();
    Clear();
    std::size_t rateChunks = 0, seqChunks = 0;
    std::int32_t iconNumber = 0;
    auto append = [&](std::int32_t number) {
        if (frames_.size() >= kMaxSteps) throw EReadError();
        frames_.push_back(NewFrame(number, Header.DisplayRate));
    };
    // A chunk's first value goes to the frame its count points at; a file
    // normally has one chunk with a value per step, so the further values go
    // to the frames after it, and past the last one they add the frames of
    // the steps beyond the header's frame count.
    auto spread = [&](const std::uint8_t* body, std::uint32_t n, std::size_t& counter, auto set) {
        const std::vector<std::uint32_t> values = Values(body, n);
        for (std::size_t j = 0; j < values.size(); ++j) {
            const std::size_t at = counter + j;
            if (j > 0 && at == frames_.size()) append(std::int32_t(at));
            if (at < frames_.size()) set(*frames_[at], values[j]);
        }
        ++counter;
    };
    WalkChunks(data + 12, size - 12, [&](const std::uint8_t* header, const std::uint8_t* body, std::uint32_t n) {
        if (IdIs(header, "anih")) {
            // The header is nine 32-bit values; a shorter chunk holds no header.
            if (n < 36) throw EReadError();
            std::uint32_t* f = &Header.StructSize;
            for (int i = 0; i < 9; ++i) f[i] = GetLE32(body + 4 * i);
            if (!(Header.Flags & 1) || Header.Steps == 0) throw EReadError();
            // More frames than steps can show are left unmade.
            for (std::uint32_t i = 0; i < Header.Frames && frames_.size() < kMaxSteps; ++i)
                frames_.push_back(NewFrame(std::int32_t(i), Header.DisplayRate));
        } else if (IdIs(header, "rate")) {
            spread(body, n, rateChunks, [](TIconFrame& f, std::uint32_t v) { f.Rate = std::int32_t(v); });
        } else if (IdIs(header, "seq ")) {
            spread(body, n, seqChunks, [](TIconFrame& f, std::uint32_t v) { f.IconNumber = std::int32_t(v); });
        } else if (IdIs(header, "LIST")) {
            if (n < 4) return false;
            if (IdIs(body, "fram")) {
                WalkChunks(body + 4, n - 4, [&](const std::uint8_t* h, const std::uint8_t* b, std::uint32_t m) {
                    if (!IdIs(h, "icon")) return true;
                    TIconFrame image;
                    if (!ReadIconImage(h, b, m, image, ColorCount)) return false;
                    const std::int32_t number = iconNumber++;
                    bool shown = false;
                    for (auto& f : frames_) {
                        if (f->IconNumber != number) continue;
                        Receive(*f, image);
                        shown = true;
                    }
                    if (!shown) {
                        append(-1);
                        Receive(*frames_.back(), image);
                    }
                    return true;
                });
            } else if (IdIs(body, "INFO")) {
                WalkChunks(body + 4, n - 4, [&](const std::uint8_t* h, const std::uint8_t* b, std::uint32_t m) {
                    std::string* to = IdIs(h, "INAM") ? &Title : IdIs(h, "IART") ? &Creator : nullptr;
                    if (to) {
                        std::size_t len = std::min<std::size_t>(m, 255);
                        to->assign(reinterpret_cast<const char*>(b), len);
                        to->resize(std::strlen(to->c_str()));
                    }
                    return true;
                });
            }
        }
        return true;
    });
    frames_.erase(std::remove_if(frames_.begin(), frames_.end(), [](const auto& f) { return !f->Icon; }),
                  frames_.end());
    Header.Steps = std::uint32_t(frames_.size());
    if (frames_.empty()) throw EReadError();
}

void TAnimatedCursorImage::LoadFromFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadRegularFile(path, bytes)) throw EReadError();
    LoadFromBytes(bytes.data(), bytes.size());
}

void TAnimatedCursorImage::SaveToStream() const { throw ENotImplemented(); }

void TAnimatedCursorImage::Assign(const TAnimatedCursorImage& source) {
    if (&source == this) return;
    Clear();
    Header = source.Header;
    Title = source.Title;
    Creator = source.Creator;
    ColorCount = source.ColorCount;
    for (const auto& f : source.frames_) {
        auto copy = std::make_unique<TIconFrame>();
        copy->Rate = std::int32_t(source.Header.DisplayRate);
        copy->Assign(*f);
        frames_.push_back(std::move(copy));
    }
}

void TAnimatedCursorImage::AssignTo(TIcon& icon) const {
    if (frames_.empty() || !frames_[0]->Icon)
        icon.Clear();
    else
        icon.Assign(*frames_[0]->Icon);
}

void TAnimatedCursorImage::AssignTo(TBitmap& bitmap, TColor brushColor) const {
    if (frames_.empty()) {
        bitmap = TBitmap();
        return;
    }
    const int w = frames_[0]->Icon ? frames_[0]->Icon->Width() : 0;
    const int h = frames_[0]->Icon ? frames_[0]->Icon->Height() : 0;
    TBitmap strip(w * FrameCount(), h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < strip.Width(); ++x) strip.SetPixel(x, y, brushColor);
    for (int i = 0; i < FrameCount(); ++i) {
        if (!frames_[std::size_t(i)]->Icon) continue;
        TBitmap image = frames_[std::size_t(i)]->Icon->ToBitmap(brushColor);
        for (int y = 0; y < std::min(h, image.Height()); ++y)
            for (int x = 0; x < std::min(w, image.Width()); ++x) strip.SetPixel(i * w + x, y, image.Pixel(x, y));
    }
    std::vector<std::uint8_t> file = ConvertToColourCount(strip, std::max<int>(ColorCount, 16));
    TBitmap reduced;
    reduced.LoadFromBytes(file.data(), file.size());
    bitmap = std::move(reduced);
}

void TAnimatedCursorImage::AssignTo(TIconList& list) const {
    list.BeginUpdate();
    list.Clear();
    for (const auto& f : frames_) {
        if (f->Icon) list.Add(*f->Icon);
    }
    list.EndUpdate();
}

} // namespace velmora
