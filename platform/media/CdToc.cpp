#include "platform/media/CdToc.h"

#include <climits>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace wb::media {

std::optional<CdToc> ReadCdToc(const std::string& device) {
    // Non-blocking, so an open tray or an empty drive answers at once.
    int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::optional<CdToc> result;
    cdrom_tochdr hdr{};
    if (::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT) == CDS_DISC_OK && ::ioctl(fd, CDROMREADTOCHDR, &hdr) == 0 &&
        hdr.cdth_trk0 >= 1 && hdr.cdth_trk1 >= hdr.cdth_trk0) {
        CdToc toc;
        toc.firstTrack = hdr.cdth_trk0;
        toc.lastTrack = hdr.cdth_trk1;
        bool ok = true;
        for (int t = hdr.cdth_trk0; t <= hdr.cdth_trk1 + 1 && ok; ++t) {
            cdrom_tocentry e{};
            e.cdte_track = static_cast<__u8>(t > hdr.cdth_trk1 ? CDROM_LEADOUT : t);
            e.cdte_format = CDROM_LBA;
            ok = ::ioctl(fd, CDROMREADTOCENTRY, &e) == 0;
            if (!ok) break;
            uint32_t lba = static_cast<uint32_t>(e.cdte_addr.lba);
            if (t > hdr.cdth_trk1) toc.leadOut = lba;
            else toc.trackStarts.push_back(lba);
        }
        if (ok) result = toc;
    }
    ::close(fd);
    return result;
}

uint32_t CdTocSerial(const CdToc& toc) {
    // FNV-1a over the track count and every address.
    uint32_t h = 2166136261u;
    auto mix = [&h](uint32_t v) {
        for (int i = 0; i < 4; ++i, v >>= 8) {
            h ^= v & 0xFF;
            h *= 16777619u;
        }
    };
    mix(static_cast<uint32_t>(toc.firstTrack));
    mix(static_cast<uint32_t>(toc.lastTrack));
    for (uint32_t s : toc.trackStarts) mix(s);
    mix(toc.leadOut);
    // 0xFFFFFFFF stands for "no readable volume".
    return h == 0xFFFFFFFFu ? 0xFFFFFFFEu : h;
}

} // namespace wb::media
