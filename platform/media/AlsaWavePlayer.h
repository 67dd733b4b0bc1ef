#pragma once
// The wave player on an ALSA playback device. The file's data is read into
// memory at Open, so the file may be rewritten while it is open; a thread
// feeds the device while playing. The device is opened for playing only and
// released when playback stops, ends or is paused.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/media/WaveData.h"
#include "platform/media/WavePlayer.h"

namespace wb::media {

class AlsaWavePlayer : public WavePlayer {
public:
    explicit AlsaWavePlayer(std::string device = "default");
    ~AlsaWavePlayer() override;

    bool Open(const std::string& fileName) override;
    void Close() override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    PlayerMode Mode() const override;

    // In frames, for the display and tests.
    size_t Position() const { return position_; }
    size_t Length() const { return wave_.Frames(); }
    // False once the device could not be opened.
    bool DeviceAvailable() const { return !deviceMissing_; }
    // Blocks until the playback thread has finished (end of file or stop).
    void WaitForEnd();

private:
    void StartThread();
    void StopThread();
    void Feed(void* pcm);
    void* OpenDevice();

    std::string device_;
    WaveData wave_;
    std::atomic<size_t> position_{0};
    std::atomic<PlayerMode> mode_{PlayerMode::Closed};
    std::atomic<bool> stopRequest_{false};
    bool deviceMissing_ = false;
    bool deviceReported_ = false;
    std::string deviceLine_;     // what was said about the missing device
    bool fileReported_ = false;  // the status speaks of the file, not the device
    std::thread worker_;
};

} // namespace wb::media
