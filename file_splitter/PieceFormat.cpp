#include "file_splitter/PieceFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/base/CodePage.h"

namespace parvex {

namespace {

constexpr char kMagic[3] = {'B', 'r', 'K'};

size_t NameStart(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A header is untrusted: its bytes must not name another folder or carry
// control characters into a file name.
std::string SafeNameText(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (b == '/' || b < 0x20 || b == 0x7F) {
            out += '_';
        } else if (b == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            out += '_';  // a C1 control character
            ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

} // namespace

std::array<unsigned char, kHeaderSize> EncodeHeader(const PieceHeader& header) {
    std::array<unsigned char, kHeaderSize> bytes{};
    std::memcpy(bytes.data(), kMagic, 3);
    std::memcpy(bytes.data() + 3, header.extension.data(), 4);
    bytes[7] = static_cast<unsigned char>(header.count & 0xFF);
    bytes[8] = static_cast<unsigned char>(header.count >> 8);
    return bytes;
}

std::optional<PieceHeader> DecodeHeader(const unsigned char* bytes, size_t size) {
    if (size < kHeaderSize || std::memcmp(bytes, kMagic, 3) != 0) return std::nullopt;
    PieceHeader header;
    std::memcpy(header.extension.data(), bytes + 3, 4);
    header.count = static_cast<uint16_t>(bytes[7] | (bytes[8] << 8));
    if (header.count > kMaxPieces) return std::nullopt;
    return header;
}

std::string FileNamePart(const std::string& path) { return path.substr(NameStart(path)); }

std::array<char, 4> ExtensionField(const std::string& sourcePath) {
    std::array<char, 4> field{};
    const std::string name = FileNamePart(sourcePath);
    auto dot = name.rfind('.');
    if (dot == std::string::npos) return field;
    const std::string stored = wb::Utf8ToCp1252(name.substr(dot + 1));
    std::memcpy(field.data(), stored.data(), std::min<size_t>(4, stored.size()));
    return field;
}

std::string DefaultSplitOutputName(const std::string& sourcePath) {
    const size_t start = NameStart(sourcePath);
    auto dot = sourcePath.rfind('.');
    if (dot == std::string::npos || dot < start) return sourcePath + ".brk";
    return sourcePath.substr(0, dot + 1) + "brk";
}

bool HasPieceExtension(const std::string& name) {
    if (name.size() < 3) return false;
    const char* tail = name.data() + name.size() - 3;
    return Lower(tail[0]) == 'b' && Lower(tail[1]) == 'r' && Lower(tail[2]) == 'k';
}

std::optional<std::string> PieceBase(const std::string& outputName) {
    auto dot = outputName.find('.', NameStart(outputName));
    if (dot == std::string::npos) return std::nullopt;
    return outputName.substr(0, dot + 1);
}

std::string PieceName(const std::string& base, int index) {
    std::string name = base;
    name += 'b';
    name += static_cast<char>('0' + index / 10 % 10);
    name += static_cast<char>('0' + index % 10);
    return name;
}

uint64_t PieceCount(uint64_t sourceSize, uint64_t pieceSize) {
    if (pieceSize == 0) return 0;
    const uint64_t total = sourceSize + kHeaderSize;
    return total / pieceSize + (total % pieceSize != 0);
}

uint64_t PieceLength(uint64_t sourceSize, uint64_t pieceSize, uint64_t index) {
    const uint64_t total = sourceSize + kHeaderSize;
    if (pieceSize == 0 || index >= PieceCount(sourceSize, pieceSize)) return 0;
    const uint64_t before = index * pieceSize;
    return std::min(pieceSize, total - before);
}

uint64_t BlockCount(uint64_t n) {
    if (n <= kBlockSize) return 1;
    return n / kBlockSize + (n % kBlockSize != 0);
}

JoinNames JoinNamesFor(const std::string& firstPiecePath, const std::array<char, 4>& extension) {
    const size_t start = NameStart(firstPiecePath);
    const size_t nameLength = firstPiecePath.size() - start;
    // Only the file name loses its last three characters, never the folder.
    const std::string stem =
        firstPiecePath.substr(0, nameLength >= 3 ? firstPiecePath.size() - 3 : start);
    size_t extLength = 0;
    while (extLength < 4 && extension[extLength] != 0) ++extLength;
    const std::string ext =
        SafeNameText(wb::Cp1252ToUtf8(std::string(extension.data(), extLength)));

    JoinNames names;
    const std::string full = stem + ext;
    auto base = PieceBase(full);
    names.pieceBase = base ? *base : full + ".";
    names.output = full;
    // A source without an extension comes back without a trailing '.'.
    if (ext.empty() && names.output.size() > start && names.output.back() == '.')
        names.output.pop_back();
    return names;
}

SplitProgress::SplitProgress(uint64_t pieceCount, uint64_t pieceSize) {
    const uint64_t blocks = pieceSize > kBlockSize ? BlockCount(pieceSize) : 1;
    const uint64_t steps = std::max<uint64_t>(1, pieceCount * blocks);
    step_ = 100.0 / static_cast<double>(steps);
}

std::optional<int> SplitProgress::Block() {
    sum_ += step_;
    if (sum_ > shown_) {
        shown_ = static_cast<int>(sum_);
        return shown_;
    }
    return std::nullopt;
}

JoinProgress::JoinProgress(uint64_t pieceCount, uint64_t firstPieceLength) {
    const double n = static_cast<double>(std::max<uint64_t>(1, pieceCount));
    double d;
    if (firstPieceLength > kBlockSize) {
        const double blocks = static_cast<double>(firstPieceLength) / kBlockSize;
        d = firstPieceLength % kBlockSize != 0 ? n * (blocks + 1) : n * blocks;
    } else {
        d = n;
    }
    step_ = 100.0 / d;
    value_ = step_;
}

std::optional<int> JoinProgress::Block() {
    value_ += step_;
    if (std::ceil(value_) > std::ceil(shown_)) {
        shown_ = value_;
        return static_cast<int>(value_);
    }
    return std::nullopt;
}

} // namespace parvex
