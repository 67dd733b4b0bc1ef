#pragma once
// Writing and reading piece sets on disk. Every piece and every rebuilt file
// is written beside its target under a temporary name and renamed into place
// only when the whole set is complete, so a failed run replaces nothing.
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

#include "file_splitter/PieceFormat.h"

namespace parvex {

class PieceError : public std::runtime_error {
public:
    enum class Kind {
        SourceNotFound,  // the file to split cannot be opened
        SourceChanged,   // its size differs from the size it was chosen with
        SameAsSource,    // a piece would be written over the source
        CannotCreate,    // a piece or the rebuilt file cannot be created
        OutputIsPiece,   // the rebuilt file would be written over a piece
        WrongSize,       // a middle piece is not as long as the first
        Io               // a read, write or rename failed
    };
    PieceError(Kind kind, std::string file, const std::string& detail);
    Kind GetKind() const { return kind_; }
    const std::string& File() const { return file_; }

private:
    Kind kind_;
    std::string file_;
};

// Called on the calling thread: once the files are open (split only), after
// every block copied, and, to serve the window, at least every
// kServeInterval while the copying threads run, however slow the disk.
struct CopyEvents {
    std::function<void()> started;
    std::function<void()> block;
    std::function<void()> serve;
};
constexpr std::chrono::milliseconds kServeInterval{10};

// Runs on a copying thread after each run of blocks it writes, for tests
// that stand in for a slow disk; none unless set.
void SetCopyPacer(std::function<void()> pacer);

struct SplitRequest {
    std::string sourcePath;
    std::string outputName;  // the first piece; must have a piece base
    uint64_t sourceSize = 0; // as chosen; a source that changed is refused
    uint64_t pieceSize = 0;
};

// Writes the whole set or, on any failure, nothing. Throws PieceError.
void SplitFile(const SplitRequest& request, const CopyEvents& events = {});

struct FirstPiece {
    std::string path;
    PieceHeader header;
    uint64_t length = 0;
    JoinNames names;
    uint64_t Count() const { return header.count; }
};

enum class FirstPieceStatus { Ok, CannotOpen, BadFormat };
FirstPieceStatus ReadFirstPiece(const std::string& path, FirstPiece& piece);

struct PieceSurvey {
    uint64_t missing = 0;
    uint64_t total = 0;        // bytes of all pieces found, the first included
    uint64_t damaged = 0;      // pieces that cannot be part of the set: a middle
                               // piece whose length differs from the first, or
                               // a name that is no regular file (FIFO, device)
    std::string firstDamaged;  // the first of them
    std::string firstProblem;  // what is wrong with it, as "is not a regular file"
};
// Looks for pieces 1 to count - 1 beside the first one.
PieceSurvey SurveyPieces(const FirstPiece& first);

// Rebuilds the file into outputName. Returns how many pieces were missing;
// when any was, the output is not written. Throws PieceError.
uint64_t AssemblePieces(const FirstPiece& first, const std::string& outputName,
                        const CopyEvents& events = {});

} // namespace parvex
