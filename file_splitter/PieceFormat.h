#pragma once
// The piece file set: a first piece that starts with a 9-byte header, then up
// to 99 further pieces named after it. No file access here, only the rules.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace parvex {

constexpr size_t kHeaderSize = 9;
constexpr size_t kBlockSize = 64000;       // copy unit and progress step
constexpr uint64_t kMaxPieces = 100;
constexpr uint64_t kMinSplitSize = 4096;   // smallest source and piece size

struct PieceHeader {
    std::array<char, 4> extension{};  // zero-filled
    uint16_t count = 0;               // pieces in the set, the first included
};

std::array<unsigned char, kHeaderSize> EncodeHeader(const PieceHeader& header);
// Nullopt for anything this program cannot have written: too short, wrong
// magic, or more pieces than a set can have.
std::optional<PieceHeader> DecodeHeader(const unsigned char* bytes, size_t size);

// The last component of a path (after the last '/').
std::string FileNamePart(const std::string& path);

// The header's extension field for a source: the first four characters after
// the last '.' of its file name, in Windows-1252 as the format stores them.
std::array<char, 4> ExtensionField(const std::string& sourcePath);

// The proposed first-piece name: the source's extension replaced by "brk".
std::string DefaultSplitOutputName(const std::string& sourcePath);

// True when the name ends in "brk" in any case.
bool HasPieceExtension(const std::string& name);

// The output name up to and including the first '.' of its file name, to
// which the further pieces add "b01" to "b99". Nullopt when there is no '.'.
std::optional<std::string> PieceBase(const std::string& outputName);

// base + "b" + k as two digits.
std::string PieceName(const std::string& base, int index);

// Pieces needed for a source of sourceSize bytes (plus the header) in pieces
// of pieceSize bytes; 0 for a piece size of 0.
uint64_t PieceCount(uint64_t sourceSize, uint64_t pieceSize);
// Bytes in piece `index` (the first one includes the header).
uint64_t PieceLength(uint64_t sourceSize, uint64_t pieceSize, uint64_t index);

// Blocks in which n bytes are copied: at least one, even for n = 0.
uint64_t BlockCount(uint64_t n);

// Names the joiner derives from the first piece's path and header.
struct JoinNames {
    std::string output;     // proposed name of the rebuilt file
    std::string pieceBase;  // what PieceName extends for pieces 1 and on
};
JoinNames JoinNamesFor(const std::string& firstPiecePath, const std::array<char, 4>& extension);

// Progress of a split: one step per block over the whole set.
class SplitProgress {
public:
    SplitProgress(uint64_t pieceCount, uint64_t pieceSize);
    int First() const { return static_cast<int>(step_); }
    // Called after each block; the position to show, if any.
    std::optional<int> Block();
    double Step() const { return step_; }

private:
    double step_;
    double sum_ = 0;
    int shown_ = -1;
};

// Progress of a join, stepped by blocks of the first piece's size.
class JoinProgress {
public:
    JoinProgress(uint64_t pieceCount, uint64_t firstPieceLength);
    std::optional<int> Block();
    double Step() const { return step_; }

private:
    double step_;
    double value_;
    double shown_ = -1;
};

} // namespace parvex
