#pragma once
// A wave player for tests: it plays nothing and records every call, with
// the file name for Open.
#include <string>
#include <vector>

#include "platform/media/WavePlayer.h"

namespace wb::media {

class RecordingWavePlayer : public WavePlayer {
public:
    bool Open(const std::string& fileName) override {
        calls.push_back("open " + fileName);
        mode_ = PlayerMode::Stopped;
        return true;
    }
    void Close() override {
        calls.push_back("close");
        mode_ = PlayerMode::Closed;
    }
    void Play() override { Record("play", PlayerMode::Playing); }
    void Pause() override {
        Record("pause", mode_ == PlayerMode::Paused ? PlayerMode::Playing : PlayerMode::Paused);
    }
    void Stop() override { Record("stop", PlayerMode::Stopped); }
    void Next() override { Record("next", PlayerMode::Stopped); }
    void Previous() override { Record("previous", PlayerMode::Stopped); }
    PlayerMode Mode() const override { return mode_; }

    // Passes a status line on as the real player would.
    void Say(const std::string& line) { Report(line); }

    std::vector<std::string> calls;

private:
    void Record(const char* what, PlayerMode next) {
        calls.push_back(what);
        if (mode_ != PlayerMode::Closed) mode_ = next;
    }
    PlayerMode mode_ = PlayerMode::Closed;
};

} // namespace wb::media
