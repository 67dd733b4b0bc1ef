#pragma once
// The volume information of one drive, and a watch that reports when the
// medium in it changes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/media/CdToc.h"
#include "platform/base/Component.h"
#include "platform/gui/Timer.h"

namespace velmora {

// The drive is named by its root path ("/", "/media/usb/", "/dev/sr0"),
// which stands where a drive letter would.
class TDiskCaps : public wb::Component {
public:
    explicit TDiskCaps(wb::Component* owner = nullptr);
    ~TDiskCaps() override;
    static const wb::ClassInfo& StaticClass();
    const wb::ClassInfo& Class() const override { return StaticClass(); }

    std::string DiskLabel;
    std::string DiskSerial;  // 8 upper-case hex digits; "FFFFFFFF" when nothing can be read
    int ComponentLen = 0;
    std::string FileSystem;
    int DriveType = 0;  // 0 unknown, 1 no such drive, 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM
    uint32_t DriveFlags = 0;

    const std::string& Drive() const { return drive_; }
    void SetDrive(const std::string& drive);
    bool CheckSNChange() const { return checkSNChange_; }
    void SetCheckSNChange(bool check);
    int CheckPeriod() const { return checkPeriod_; }
    void SetCheckPeriod(int ms);
    wb::gui::Timer* Timer() const { return timer_; }
    const std::string& LastSerial() const { return lastSerial_; }

    std::function<void(wb::Persistent*)> OnDriveChanged;
    std::function<void(wb::Persistent*)> OnSNChanged;

    void ReadVolumeInfo();
    void CheckTimerTick(wb::Persistent* sender);

    // How a CD drive's disc is read when it holds no file system (tests put a fake).
    std::function<std::optional<wb::media::CdToc>(const std::string& device)> TocReader = wb::media::ReadCdToc;

private:
    std::string drive_;
    std::string lastSerial_;
    int checkPeriod_ = 2000;
    bool checkSNChange_ = false;
    wb::gui::Timer* timer_ = nullptr;
};

} // namespace velmora
