#include "tag_editor/controls/filesystem/DiskCaps.h"

#include <cstdio>

#include "platform/base/Volumes.h"

namespace velmora {

namespace {

// Case-sensitive search and preserved case, as the platform's flags name them.
constexpr uint32_t kCaseSensitive = 0x1, kCasePreserved = 0x2;

std::string Hex8(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

bool CaseInsensitiveFs(const std::string& fs) {
    return fs == "vfat" || fs == "msdos" || fs == "exfat" || fs == "iso9660" || fs == "CDFS" ||
           fs == "ntfs" || fs == "ntfs3";
}

} // namespace


const wb::ClassInfo& TDiskCaps::StaticClass() {
    static wb::ClassInfo& info = []() -> wb::ClassInfo& {
        static wb::ClassInfo i("TDiskCaps", &wb::Component::StaticClass());
        auto str = [](const char* name, std::string TDiskCaps::*field) {
            wb::PropInfo p;
            p.name = name;
            p.kind = wb::TypeKind::LString;
            p.getStr = [field](const wb::Persistent& o) { return static_cast<const TDiskCaps&>(o).*field; };
            p.setStr = [field](wb::Persistent& o, const std::string& v) { static_cast<TDiskCaps&>(o).*field = v; };
            i.Add(std::move(p));
        };
        auto num = [](const char* name, auto TDiskCaps::*field) {
            wb::PropInfo p;
            p.name = name;
            p.kind = wb::TypeKind::Integer;
            p.getOrd = [field](const wb::Persistent& o) { return int64_t(static_cast<const TDiskCaps&>(o).*field); };
            p.setOrd = [field](wb::Persistent& o, int64_t v) {
                using T = std::remove_reference_t<decltype(static_cast<TDiskCaps&>(o).*field)>;
                static_cast<TDiskCaps&>(o).*field = static_cast<T>(v);
            };
            i.Add(std::move(p));
        };
        str("DiskLabel", &TDiskCaps::DiskLabel);
        str("DiskSerial", &TDiskCaps::DiskSerial);
        num("ComponentLen", &TDiskCaps::ComponentLen);
        str("FileSystem", &TDiskCaps::FileSystem);
        num("DriveType", &TDiskCaps::DriveType);
        wb::PropInfo drive;
        drive.name = "Drive";
        drive.kind = wb::TypeKind::LString;
        drive.getStr = [](const wb::Persistent& o) { return static_cast<const TDiskCaps&>(o).Drive(); };
        drive.setStr = [](wb::Persistent& o, const std::string& v) { static_cast<TDiskCaps&>(o).SetDrive(v); };
        i.Add(std::move(drive));
        num("DriveFlags", &TDiskCaps::DriveFlags);
        i.Integer<TDiskCaps, int>("CheckPeriod", &TDiskCaps::CheckPeriod, &TDiskCaps::SetCheckPeriod);
        i.Boolean<TDiskCaps>("CheckSNChange", &TDiskCaps::CheckSNChange, &TDiskCaps::SetCheckSNChange);
        return i;
    }();
    return info;
}

TDiskCaps::TDiskCaps(wb::Component* owner) : Component(owner) {
    drive_ = "/";  // the system's drive
    ReadVolumeInfo();
    checkSNChange_ = false;
    checkPeriod_ = 2000;
}

TDiskCaps::~TDiskCaps() {
    Destroying_();
    delete timer_;
    timer_ = nullptr;
}

void TDiskCaps::ReadVolumeInfo() {
    auto table = wb::Volumes();
    std::optional<wb::Volume> volume;
    for (const wb::Volume& v : table->List())
        if (v.root == drive_) volume = v;
    std::optional<wb::VolumeInfo> info = volume ? table->Info(drive_) : std::nullopt;
    DriveType = volume ? static_cast<int>(volume->kind) : 1;  // 1: no such root
    if (info) {
        DiskLabel = info->label;
        DiskSerial = Hex8(info->serial);
        FileSystem = info->fsType;
        ComponentLen = 255;
        DriveFlags = kCasePreserved | (CaseInsensitiveFs(FileSystem) ? 0 : kCaseSensitive);
        return;
    }
    // A disc without a file system (an audio CD) is known by its table of contents.
    if (volume && volume->kind == wb::VolumeKind::CDROM && TocReader) {
        if (std::optional<wb::media::CdToc> toc = TocReader(volume->device)) {
            DiskLabel = "Audio CD";
            DiskSerial = Hex8(wb::media::CdTocSerial(*toc));
            FileSystem = "CDFS";
            ComponentLen = 221;
            DriveFlags = kCasePreserved;
            return;
        }
    }
    // Nothing to read: defined values that differ from any readable medium's.
    DiskLabel.clear();
    DiskSerial = Hex8(0xFFFFFFFFu);
    FileSystem.clear();
    ComponentLen = 0;
    DriveFlags = 0;
}

void TDiskCaps::SetDrive(const std::string& drive) {
    if (drive == drive_) return;
    drive_ = drive;
    ReadVolumeInfo();
    SetCheckSNChange(false);
    if (OnDriveChanged) OnDriveChanged(this);
}

void TDiskCaps::SetCheckSNChange(bool check) {
    if (check == checkSNChange_) return;
    checkSNChange_ = check;
    ReadVolumeInfo();
    if (check) {
        if (checkPeriod_ > 0 && (DriveType == 2 || DriveType == 5)) {
            lastSerial_ = DiskSerial;
            delete timer_;
            timer_ = new wb::gui::Timer(this);
            timer_->SetInterval(checkPeriod_);
            timer_->SetOnTimer([this](wb::Persistent* s) { CheckTimerTick(s); });
        } else {
            checkSNChange_ = false;
        }
    } else {
        delete timer_;
        timer_ = nullptr;
    }
}

void TDiskCaps::SetCheckPeriod(int ms) {
    if (ms == checkPeriod_) return;
    delete timer_;
    timer_ = nullptr;
    if (checkSNChange_ && ms >= 1) {
        timer_ = new wb::gui::Timer(this);
        timer_->SetInterval(ms);
        timer_->SetOnTimer([this](wb::Persistent* s) { CheckTimerTick(s); });
    }
    checkPeriod_ = ms;
}

void TDiskCaps::CheckTimerTick(wb::Persistent*) {
    ReadVolumeInfo();
    if (DiskSerial != lastSerial_) {
        lastSerial_ = DiskSerial;
        if (OnSNChanged) OnSNChanged(this);
    }
}

} // namespace velmora
