#include "tag_editor/logic/TagList.h"

#include <charconv>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/TextFile.h"
#include "platform/base/TextUtil.h"
#include "tag_editor/logic/NamePatterns.h"
#include "tag_editor/logic/TagCodec.h"

namespace velmora {

namespace {

const char kAlbumMark[] = "Album";
const char kSamplerMark[] = "Sampler";
const char kSamplerSuffix[] = " (Sampler)";

std::string BaseName(std::string_view path) {
    size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// The lines of a list file, one after the other, with the line number of
// each for messages.
class LineReader {
public:
    LineReader(std::string_view text, const std::string& fileName) : text_(text), file_(fileName) {}

    std::string Next(const char* what) {
        ++line_;
        if (pos_ >= text_.size())
            throw TagListError("The tag list \"" + file_ + "\" ends before line " + std::to_string(line_) +
                               ", which should hold " + what + ".");
        size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        // A lone CR or another control character inside a value would reach
        // a file name, a tag or a playlist line.
        return BlankControls(line);
    }
    int Line() const { return line_; }

private:
    std::string_view text_;
    const std::string& file_;
    size_t pos_ = 0;
    int line_ = 0;
};

// A line break would shift every later line, so none is written: values
// from outside were blanked where they were read, typed ones are here.
void AddLine(std::string& out, const std::string& value) {
    out += BlankControls(value);
    out += "\r\n";
}

// A short, printable piece of a bad line for a message.
std::string Excerpt(std::string_view line) {
    constexpr size_t kMost = 40;
    std::string shown = wb::ShowableUtf8(line.substr(0, kMost + 1));
    if (line.size() > kMost) {
        // Cut on a character boundary, then say that there is more.
        size_t cut = kMost;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
        shown = shown.substr(0, cut) + "...";
    }
    return shown;
}

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

} // namespace

std::string TagListFileName(const TTagList& list) {
    std::string name = list.Album ? list.Artist + " - " + list.AlbumName : list.AlbumName + kSamplerSuffix;
    return VisibleName(SanitizeName(name) + kTagListExt, kTagListExt);
}

std::string FormatTagList(const TTagList& list) {
    std::string out;
    if (list.Album) {
        AddLine(out, kAlbumMark);
        AddLine(out, list.Artist);
    } else {
        AddLine(out, kSamplerMark);
    }
    AddLine(out, list.AlbumName);
    AddLine(out, list.Comment);
    AddLine(out, list.Year);
    AddLine(out, list.Genre);
    // The editor's grid always shows one data row, empty or not.
    size_t rows = list.Tracks.empty() ? 1 : list.Tracks.size();
    AddLine(out, std::to_string(rows + 1));
    for (size_t k = 0; k < rows; ++k) {
        TTagListTrack track = k < list.Tracks.size() ? list.Tracks[k] : TTagListTrack{};
        if (!list.Album) AddLine(out, track.Artist);
        AddLine(out, track.Title);
    }
    return out;
}

TTagList ParseTagList(std::string_view bytes, const std::string& fileName) {
    const std::string converted = wb::Utf8OrCp1252(bytes);
    bytes = converted;
    LineReader in(bytes, fileName);
    TTagList list;
    list.Album = in.Next("\"Album\" or \"Sampler\"") == kAlbumMark;
    if (list.Album) list.Artist = in.Next("the artist");
    list.AlbumName = in.Next("the album name");
    list.Comment = in.Next("the comment");
    list.Year = in.Next("the year");
    list.Genre = in.Next("the genre");
    std::string count = in.Next("the row count");
    int rows = 0;
    auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), rows);
    if (ec != std::errc() || end != count.data() + count.size() || rows < 1)
        throw TagListError("The tag list \"" + fileName + "\" holds \"" + Excerpt(count) + "\" in line " +
                           std::to_string(in.Line()) + ", where its number of rows should stand.");
    for (int k = 1; k < rows; ++k) {
        TTagListTrack track;
        if (!list.Album) track.Artist = in.Next("the artist of a track");
        track.Title = in.Next("the title of a track");
        list.Tracks.push_back(std::move(track));
    }
    return list;
}

TTagList LoadTagList(const std::string& path) {
    // Only a regular file is read, so a FIFO of that name never blocks.
    wb::File f(path, wb::File::Mode::ReadDocument);
    std::string bytes(static_cast<size_t>(f.SizeAtOpen()), '\0');
    bytes.resize(f.Read(bytes.data(), bytes.size()));
    f.Close();
    // Opened by its own bytes; messages show the name as text.
    return ParseTagList(bytes, wb::ShowableUtf8(BaseName(path)));
}

std::string SaveTagList(const std::string& folder, const TTagList& list) {
    if (list.AlbumName.empty()) return {};
    std::string content = FormatTagList(list);
    const std::string name = TagListFileName(list);
    if (name.empty())
        throw TagListError("The tag list's artist and album give no file name once leading dots and blanks are "
                           "dropped. Nothing was written.");
    std::string path = InFolder(folder, name);
    wb::WriteFileReplacing(path, content);
    return path;
}

std::string CapitalizeWords(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        char& c = out[i];
        bool wordStart = i == 0 || out[i - 1] == ' ';
        if (wordStart && IsLower(c)) c = static_cast<char>(c - 'a' + 'A');
        else if (!wordStart && IsUpper(c)) c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

TagListGridNames GridNamesOfTagList(std::string_view fileName) {
    std::string name = wb::Trim(fileName);
    name.resize(name.size() < 4 ? 0 : name.size() - 4);
    size_t dash = name.find(" - ");
    if (dash != std::string::npos) return {name.substr(0, dash), name.substr(dash + 3)};
    size_t mark = name.find("(Sampler)");
    return {"(Sampler)", mark == std::string::npos ? name : name.substr(0, mark)};
}

int RowCountWithoutEmptyEnd(int rowCount, int currentRow, const std::function<bool(int row)>& rowEmpty) {
    int last = rowCount - 1;
    while (last >= 2 && last != currentRow && rowEmpty(last)) --last;
    return last + 1;
}

GridStep EnterStep(bool album, int col, int row, int rowCount) {
    const bool lastRow = row >= rowCount - 1;
    if (album) return {col, row + 1, lastRow};
    if (col == 1) return {2, row, false};
    if (col == 2) return {1, row + 1, lastRow};
    return {col, row, false};
}

} // namespace velmora
