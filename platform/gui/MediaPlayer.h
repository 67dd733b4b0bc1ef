#pragma once
// A media player control: the transport buttons (play, pause, stop, next,
// previous) over a wave player, with a status line for what the player has
// to say (a missing sound device, a file it cannot play). The buttons work
// while a file is open.
#include <string>

#include "platform/gui/WidgetControl.h"
#include "platform/media/WavePlayer.h"

namespace wb::gui {

class MediaPlayer : public WidgetControl {
public:
    MediaPlayer(WinControl& parent, const std::string& name, wb::media::WavePlayer& player);
    ~MediaPlayer() override;

    void SetFileName(const std::string& fileName) { fileName_ = fileName; }
    const std::string& FileName() const { return fileName_; }
    // Opens the file name in the player; never throws.
    bool Open();
    void Close();
    bool IsOpen() const { return open_; }
    std::string Status() const;

    enum class Btn { Play, Pause, Stop, Next, Prev };
    // Presses a button as the user would.
    void Press(Btn button);

private:
    void UpdateButtons();

    wb::media::WavePlayer& player_;
    std::string fileName_;
    bool open_ = false;
};

} // namespace wb::gui
