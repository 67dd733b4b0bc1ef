#include "file_splitter/PieceFiles.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
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
// Pieces are copied side by side, each into its own file (or its own place
// of the rebuilt file): a single stream leaves the disk and the page cache
// waiting on one copy at a time.
constexpr unsigned kCopyThreads = 4;

// One piece's bytes: n bytes of `in` from inPos to `out` at outPos.
struct CopyJob {
    File* in;
    int64_t inPos;
    File* out;
    int64_t outPos;
    uint64_t n;
};

std::function<void()>& Pacer() {
    static std::function<void()> pacer;
    return pacer;
}

// Runs the jobs on a few threads, each with one buffer, so memory does not
// grow with the piece size, and then the finishing step (closing the
// written files, which some file systems flush on close) on the last of
// them. The calling thread reports every block copied, one event per block
// as a single stream would, serves the window between them, and rethrows
// the first failure once every thread has stopped.
class ParallelCopy {
public:
    ParallelCopy(std::vector<CopyJob> jobs, const CopyEvents& events, std::function<void()> finish = {})
        : jobs_(std::move(jobs)), events_(events), finish_(std::move(finish)), pacer_(Pacer()) {}

    void Run() {
        using Clock = std::chrono::steady_clock;
        const unsigned threads = std::max<size_t>(1, std::min<size_t>(kCopyThreads, jobs_.size()));
        running_ = threads;
        std::vector<std::thread> workers;
        struct Joiner {
            std::vector<std::thread>& t;
            std::atomic<bool>& stop;
            ~Joiner() {
                stop = true;
                for (auto& w : t) w.join();
            }
        } joiner{workers, stop_};
        for (unsigned i = 0; i < threads; ++i) workers.emplace_back([this] { Work(); });

        uint64_t reported = 0;
        auto serveAt = Clock::now() + kServeInterval;
        for (;;) {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait_until(lock, serveAt, [&] { return copied_ > reported || finished_; });
            const uint64_t copied = copied_;
            const bool finished = finished_;
            lock.unlock();
            for (; reported < copied; ++reported)
                if (events_.block) events_.block();
            if (finished) break;
            if (Clock::now() >= serveAt) {
                if (events_.serve) events_.serve();
                serveAt = Clock::now() + kServeInterval;
            }
        }
        if (error_) std::rethrow_exception(error_);
    }

private:
    void Work() {
        std::unique_ptr<char[]> buffer(new char[kBlocksPerRun * kBlockSize]);
        try {
            for (size_t j; !stop_ && (j = next_++) < jobs_.size();) Copy(jobs_[j], buffer.get());
        } catch (...) {
            Fail();
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (--running_ > 0) return;
        }
        try {
            if (!stop_ && finish_) finish_();
        } catch (...) {
            Fail();
        }
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        changed_.notify_one();
    }

    void Fail() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!error_) error_ = std::current_exception();
        stop_ = true;
    }

    void Copy(const CopyJob& job, char* buffer) {
        uint64_t n = job.n, blocks = BlockCount(n);
        int64_t from = job.inPos, to = job.outPos;
        while (blocks > 0 && !stop_) {
            const uint64_t run = std::min<uint64_t>(blocks, kBlocksPerRun);
            const uint64_t len = std::min<uint64_t>(n, run * kBlockSize);
            if (len > 0) {
                job.in->ReadExactAt(buffer, static_cast<size_t>(len), from);
                job.out->WriteAt(buffer, static_cast<size_t>(len), to);
            }
            from += static_cast<int64_t>(len);
            to += static_cast<int64_t>(len);
            n -= len;
            blocks -= run;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                copied_ += run;
                changed_.notify_one();
            }
            if (pacer_) pacer_();
        }
    }

    std::vector<CopyJob> jobs_;
    const CopyEvents& events_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> finish_;
    std::function<void()> pacer_;
    uint64_t copied_ = 0;
    unsigned running_ = 0;
    bool finished_ = false;
    std::exception_ptr error_;
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

void SetCopyPacer(std::function<void()> pacer) { Pacer() = std::move(pacer); }

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

    // Every piece is created (and its name checked) before anything is
    // written, so a set never fails half way for a name that could not
    // have taken a piece.
    std::vector<PendingFile> pieces;
    for (const auto& name : names) pieces.push_back(CreatePiece(name, PieceError::Kind::CannotCreate));
    if (events.started) events.started();

    try {
        PieceHeader header;
        header.extension = ExtensionField(request.sourcePath);
        header.count = static_cast<uint16_t>(count);
        const auto bytes = EncodeHeader(header);
        pieces[0].Stream().Write(bytes.data(), bytes.size());
        std::vector<CopyJob> jobs;
        int64_t from = 0;
        for (uint64_t k = 0; k < count; ++k) {
            const uint64_t head = k == 0 ? kHeaderSize : 0;
            const uint64_t n = PieceLength(request.sourceSize, request.pieceSize, k) - head;
            jobs.push_back({&source, from, &pieces[k].Stream(), static_cast<int64_t>(head), n});
            from += static_cast<int64_t>(n);
        }
        ParallelCopy(std::move(jobs), events, [&pieces] {
            for (auto& piece : pieces) piece.Finish();
        }).Run();
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
    uint64_t missing = 0;
    try {
        std::vector<File> pieces(std::max<uint64_t>(count, 1));
        pieces[0].Open(first.path, File::Mode::ReadDocument);
        const uint64_t length = static_cast<uint64_t>(pieces[0].Size());
        if (length != first.length || length < kHeaderSize)
            throw PieceError(PieceError::Kind::WrongSize, first.path,
                             "the first piece has changed");
        std::vector<CopyJob> jobs{{&pieces[0], kHeaderSize, &output.Stream(), 0, length - kHeaderSize}};
        for (uint64_t k = 1; k < count; ++k) {
            try {
                pieces[k].Open(names[k], File::Mode::ReadDocument);
            } catch (const IoError&) {
                if (wb::IsSpecialFile(names[k]))
                    throw PieceError(PieceError::Kind::WrongSize, names[k], kNotRegular);
                ++missing;
                continue;
            }
            const uint64_t size = static_cast<uint64_t>(pieces[k].Size());
            // A middle piece of another length would shift every later byte.
            if (k + 1 < count && size != first.length)
                throw PieceError(PieceError::Kind::WrongSize, names[k],
                                 "a piece has the wrong size");
            // Piece k starts where k pieces of the first one's length end.
            jobs.push_back({&pieces[k], 0, &output.Stream(),
                            static_cast<int64_t>(k * length - kHeaderSize), size});
        }
        ParallelCopy(std::move(jobs), events, [&output, missing] {
            if (missing == 0) output.Finish();
        }).Run();
        if (missing == 0) output.Commit();
    } catch (const IoError& e) {
        throw PieceError(PieceError::Kind::Io, e.FileName(), e.what());
    }
    return missing;
}

} // namespace parvex
