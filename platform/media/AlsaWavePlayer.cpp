#include "platform/media/AlsaWavePlayer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <exception>

namespace wb::media {

namespace {

// ALSA writes its own complaints to stderr; the player reports through its
// status instead.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

struct Quieten {
    Quieten() { snd_lib_error_set_handler(&QuietAlsa); }
};

constexpr snd_pcm_uframes_t kChunkFrames = 1024;
constexpr unsigned kLatencyMicroseconds = 200000;

} // namespace

AlsaWavePlayer::AlsaWavePlayer(std::string device) : device_(std::move(device)) {
    static Quieten quieten;
}

AlsaWavePlayer::~AlsaWavePlayer() { StopThread(); }

bool AlsaWavePlayer::Open(const std::string& fileName) {
    Close();
    try {
        wave_ = ReadWaveData(fileName);
    } catch (const std::exception& e) {
        wave_ = {};
        Report(std::string("Cannot play: ") + e.what());
        fileReported_ = true;
        return false;
    }
    position_ = 0;
    mode_ = PlayerMode::Stopped;
    // Finding out now tells the user before the first press of Play.
    if (!deviceReported_) {
        if (void* pcm = OpenDevice()) snd_pcm_close(static_cast<snd_pcm_t*>(pcm));
    }
    return true;
}

void AlsaWavePlayer::Close() {
    StopThread();
    wave_ = {};
    position_ = 0;
    mode_ = PlayerMode::Closed;
    // What was said about the file goes with it; a missing device stays said.
    if (fileReported_) {
        fileReported_ = false;
        Report(deviceMissing_ ? deviceLine_ : std::string());
    }
}

void* AlsaWavePlayer::OpenDevice() {
    snd_pcm_t* pcm = nullptr;
    int rc = snd_pcm_open(&pcm, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (rc == 0) rc = snd_pcm_nonblock(pcm, 0);
    if (rc == 0)
        rc = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                                wave_.channels, wave_.rate, 1, kLatencyMicroseconds);
    if (rc == 0) {
        deviceMissing_ = false;
        return pcm;
    }
    if (pcm) snd_pcm_close(pcm);
    deviceMissing_ = true;
    // Said once: a machine without sound stays quiet after that.
    if (!deviceReported_) {
        deviceReported_ = true;
        // What matters first, so it stays whole where the line is cut.
        deviceLine_ = "No sound device: playback is off (" + std::string(snd_strerror(rc)) + ")";
        Report(deviceLine_);
    }
    return nullptr;
}

void AlsaWavePlayer::Play() {
    const PlayerMode m = mode_;
    if (m == PlayerMode::Closed || m == PlayerMode::Playing) return;
    StopThread();
    if (position_ >= wave_.Frames()) position_ = 0;
    StartThread();
}

void AlsaWavePlayer::Pause() {
    const PlayerMode m = mode_;
    if (m == PlayerMode::Playing) {
        StopThread();
        mode_ = PlayerMode::Paused;
    } else if (m == PlayerMode::Paused) {
        StartThread();
    }
}

void AlsaWavePlayer::Stop() {
    if (mode_ == PlayerMode::Closed) return;
    StopThread();
    mode_ = PlayerMode::Stopped;
}

void AlsaWavePlayer::Next() {
    if (mode_ == PlayerMode::Closed) return;
    StopThread();
    position_ = wave_.Frames();
    mode_ = PlayerMode::Stopped;
}

void AlsaWavePlayer::Previous() {
    if (mode_ == PlayerMode::Closed) return;
    const bool playing = mode_ == PlayerMode::Playing;
    StopThread();
    position_ = 0;
    mode_ = PlayerMode::Stopped;
    if (playing) StartThread();
}

PlayerMode AlsaWavePlayer::Mode() const { return mode_; }

void AlsaWavePlayer::StartThread() {
    void* pcm = OpenDevice();
    if (!pcm) {
        mode_ = PlayerMode::Stopped;
        return;
    }
    stopRequest_ = false;
    mode_ = PlayerMode::Playing;
    worker_ = std::thread([this, pcm] { Feed(pcm); });
}

void AlsaWavePlayer::StopThread() {
    stopRequest_ = true;
    if (worker_.joinable()) worker_.join();
    stopRequest_ = false;
}

void AlsaWavePlayer::WaitForEnd() {
    if (worker_.joinable()) worker_.join();
}

void AlsaWavePlayer::Feed(void* handle) {
    auto* pcm = static_cast<snd_pcm_t*>(handle);
    const size_t frames = wave_.Frames();
    const unsigned ch = wave_.channels;
    bool failed = false;
    while (!stopRequest_ && position_ < frames) {
        const size_t pos = position_;
        const auto n = static_cast<snd_pcm_uframes_t>(std::min<size_t>(kChunkFrames, frames - pos));
        snd_pcm_sframes_t done = snd_pcm_writei(pcm, wave_.samples.data() + pos * ch, n);
        if (done < 0) done = snd_pcm_recover(pcm, static_cast<int>(done), 1);
        if (done < 0) {
            Report("Playback stopped (" + std::string(snd_strerror(static_cast<int>(done))) + ")");
            failed = true;
            break;
        }
        position_ = pos + static_cast<size_t>(done);
    }
    if (stopRequest_ || failed) {
        snd_pcm_drop(pcm);
    } else {
        snd_pcm_drain(pcm);
    }
    snd_pcm_close(pcm);
    // A stop request sets the mode itself; the end of the file stops here.
    if (!stopRequest_) mode_ = PlayerMode::Stopped;
}

} // namespace wb::media
