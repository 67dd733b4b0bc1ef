#include "file_splitter/PieceFiles.h"

#include <memory>
#include <vector>

#include "platform/base/File.h"
#include "platform/base/PendingFile.h"

namespace parvex {

using wb::File;
using wb::IoError;
using wb::PendingFile;

PieceError::PieceError(Kind kind, std::string file, const std::string& detail)
    : std::runtime_error(detail), kind_(kind), file_(std::move(file)) {}

namespace {

// Bytes move a few blocks at a time: per system call, runs of about 250 kB
// copy markedly faster than single blocks, and still fit the CPU's cache.
constexpr uint64_t kBlocksPerRun = 4;

// One buffer for the whole run, so memory does not grow with the piece size.
class BlockCopier {
public:
    explicit BlockCopier(const CopyEvents& events)
        : buffer_(new char[kBlocksPerRun * kBlockSize]), events_(events) {}

    // Copies n bytes and reports each block of the copy, in order.
    void Copy(File& in, File& out, uint64_t n) {
        uint64_t blocks = BlockCount(n);
        while (blocks > 0) {
            const uint64_t run = std::min<uint64_t>(blocks, kBlocksPerRun);
            const uint64_t len = std::min<uint64_t>(n, run * kBlockSize);
            if (len > 0) {
                in.ReadExact(buffer_.get(), static_cast<size_t>(len));
                out.Write(buffer_.get(), static_cast<size_t>(len));
            }
            n -= len;
            blocks -= run;
            if (events_.block)
                for (uint64_t b = 0; b < run; ++b) events_.block();
        }
    }

private:
    std::unique_ptr<char[]> buffer_;
    const CopyEvents& events_;
};

PendingFile CreatePiece(const std::string& name, PieceError::Kind failure) {
    try {
        return PendingFile(name);
    } catch (const IoError& e) {
        throw PieceError(failure, name, e.what());
    }
}

// A name that is there but is no regular file (a FIFO, a device, a folder)
// is no piece of a set, and not a missing one either.
constexpr const char* kNotRegular = "is not a regular file";

} // namespace

void SplitFile(const SplitRequest& request, const CopyEvents& events) {
    const auto base = PieceBase(request.outputName);
    if (!base || request.pieceSize < kHeaderSize + 1)
        throw PieceError(PieceError::Kind::CannotCreate, request.outputName,
                         "no name for the further pieces");
    const uint64_t count = PieceCount(request.sourceSize, request.pieceSize);
    if (count == 0 || count > kMaxPieces)
        throw PieceError(PieceError::Kind::CannotCreate, request.outputName,
                         "too many pieces");

    File source;
    try {
        source.Open(request.sourcePath, File::Mode::ReadDocument);
        if (static_cast<uint64_t>(source.Size()) != request.sourceSize)
            throw PieceError(PieceError::Kind::SourceChanged, request.sourcePath,
                             "the file's size has changed");
    } catch (const IoError& e) {
        throw PieceError(PieceError::Kind::SourceNotFound, request.sourcePath, e.what());
    }

    std::vector<std::string> names;
    for (uint64_t k = 0; k < count; ++k) {
        names.push_back(k == 0 ? request.outputName : PieceName(*base, static_cast<int>(k)));
        if (wb::SameFile(names.back(), request.sourcePath))
            throw PieceError(PieceError::Kind::SameAsSource, names.back(),
                             "a piece would replace the file being split");
    }

    // Every piece is checked before anything is written, so a set never
    // fails half way for a name that could not have taken a piece.
    for (const auto& name : names) {
        try {
            wb::CheckReplaceable(name);
        } catch (const IoError& e) {
            throw PieceError(PieceError::Kind::CannotCreate, name, e.what());
        }
    }

    std::vector<PendingFile> pieces;
    pieces.push_back(CreatePiece(names[0], PieceError::Kind::CannotCreate));
    if (events.started) events.started();

    BlockCopier copier(events);
    try {
        PieceHeader header;
        header.extension = ExtensionField(request.sourcePath);
        header.count = static_cast<uint16_t>(count);
        const auto bytes = EncodeHeader(header);
        File& first = pieces[0].Stream();
        first.Write(bytes.data(), bytes.size());
        copier.Copy(source, first,
                    PieceLength(request.sourceSize, request.pieceSize, 0) - kHeaderSize);
        pieces[0].Finish();
        for (uint64_t k = 1; k < count; ++k) {
            pieces.push_back(CreatePiece(names[k], PieceError::Kind::CannotCreate));
            copier.Copy(source, pieces.back().Stream(),
                        PieceLength(request.sourceSize, request.pieceSize, k));
            pieces.back().Finish();
        }
        wb::CommitAll(pieces);
    } catch (const IoError& e) {
        throw PieceError(PieceError::Kind::Io, e.FileName(), e.what());
    }
}

FirstPieceStatus ReadFirstPiece(const std::string& path, FirstPiece& piece) {
    File file;
    try {
        file.Open(path, File::Mode::ReadDocument);
    } catch (const IoError&) {
        return wb::IsSpecialFile(path) ? FirstPieceStatus::BadFormat : FirstPieceStatus::CannotOpen;
    }
    try {
        unsigned char bytes[kHeaderSize];
        const size_t got = file.Read(bytes, sizeof bytes);
        auto header = DecodeHeader(bytes, got);
        if (!header) return FirstPieceStatus::BadFormat;
        piece.path = path;
        piece.header = *header;
        piece.length = static_cast<uint64_t>(file.Size());
        piece.names = JoinNamesFor(path, header->extension);
        return FirstPieceStatus::Ok;
    } catch (const IoError&) {
        return FirstPieceStatus::BadFormat;
    }
}

namespace {

// The length of a piece that can be opened for reading, or nullopt.
std::optional<uint64_t> PresentPieceLength(const std::string& name) {
    try {
        File file(name, File::Mode::ReadDocument);
        return static_cast<uint64_t>(file.Size());
    } catch (const IoError&) {
        return std::nullopt;
    }
}

} // namespace

PieceSurvey SurveyPieces(const FirstPiece& first) {
    PieceSurvey survey;
    survey.total = first.length;
    const uint64_t count = first.Count();
    for (uint64_t k = 1; k < count; ++k) {
        const std::string name = PieceName(first.names.pieceBase, static_cast<int>(k));
        auto length = PresentPieceLength(name);
        std::string problem;
        if (!length) {
            if (!wb::IsSpecialFile(name)) {
                ++survey.missing;
                continue;
            }
            problem = kNotRegular;
        } else {
            survey.total += *length;
            if (k + 1 < count && *length != first.length)
                problem = "is " + std::to_string(*length) + " bytes long where " +
                          std::to_string(first.length) + " bytes are expected";
        }
        if (!problem.empty() && survey.damaged++ == 0) {
            survey.firstDamaged = name;
            survey.firstProblem = problem;
        }
    }
    return survey;
}

uint64_t AssemblePieces(const FirstPiece& first, const std::string& outputName,
                        const CopyEvents& events) {
    const uint64_t count = first.Count();
    std::vector<std::string> names{first.path};
    for (uint64_t k = 1; k < count; ++k)
        names.push_back(PieceName(first.names.pieceBase, static_cast<int>(k)));
    for (const auto& name : names)
        if (wb::SameFile(outputName, name))
            throw PieceError(PieceError::Kind::OutputIsPiece, name,
                             "the rebuilt file would replace a piece");

    PendingFile output = CreatePiece(outputName, PieceError::Kind::CannotCreate);
    BlockCopier copier(events);
    uint64_t missing = 0;
    try {
        File piece(first.path, File::Mode::ReadDocument);
        const uint64_t length = static_cast<uint64_t>(piece.Size());
        if (length != first.length || length < kHeaderSize)
            throw PieceError(PieceError::Kind::WrongSize, first.path,
                             "the first piece has changed");
        piece.Seek(kHeaderSize);
        copier.Copy(piece, output.Stream(), length - kHeaderSize);
        piece.Close();
        for (uint64_t k = 1; k < count; ++k) {
            File next;
            try {
                next.Open(names[k], File::Mode::ReadDocument);
            } catch (const IoError&) {
                if (wb::IsSpecialFile(names[k]))
                    throw PieceError(PieceError::Kind::WrongSize, names[k], kNotRegular);
                ++missing;
                continue;
            }
            const uint64_t size = static_cast<uint64_t>(next.Size());
            // A middle piece of another length would shift every later byte.
            if (k + 1 < count && size != first.length)
                throw PieceError(PieceError::Kind::WrongSize, names[k],
                                 "a piece has the wrong size");
            copier.Copy(next, output.Stream(), size);
        }
        if (missing == 0) output.Commit();
    } catch (const IoError& e) {
        throw PieceError(PieceError::Kind::Io, e.FileName(), e.what());
    }
    return missing;
}

} // namespace parvex
