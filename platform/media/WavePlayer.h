#pragma once
// A player for one wave file at a time, as a window's media player sees it:
// open, close and the five transport buttons. Nothing here throws; a file
// that cannot be played or a missing sound device is reported through the
// status handler, and the program goes on without sound.
#include <functional>
#include <string>

namespace wb::media {

enum class PlayerMode { Closed, Stopped, Playing, Paused };

class WavePlayer {
public:
    // Called with a line for the user; possibly from the playback thread.
    using StatusHandler = std::function<void(const std::string&)>;

    virtual ~WavePlayer() = default;

    // Takes the file's 16-bit PCM data; false when it cannot be played.
    virtual bool Open(const std::string& fileName) = 0;
    virtual void Close() = 0;
    virtual void Play() = 0;
    // Pausing a paused player resumes it.
    virtual void Pause() = 0;
    // Stops where playback is; Play goes on from there.
    virtual void Stop() = 0;
    // To the end and to the start of the file.
    virtual void Next() = 0;
    virtual void Previous() = 0;
    virtual PlayerMode Mode() const = 0;

    void SetStatusHandler(StatusHandler handler) { status_ = std::move(handler); }

protected:
    void Report(const std::string& line) const {
        if (status_) status_(line);
    }

private:
    StatusHandler status_;
};

} // namespace wb::media
