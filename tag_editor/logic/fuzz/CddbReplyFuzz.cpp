// The CDDBP dialogue fed whatever a server might send. The first byte picks
// the chooser's answer and the inexact setting; byte 0x01 splits the rest
// into arrivals, and an arrival that begins with 0x02 is no data but the
// next byte's number of seconds passing on the clock. Tag lists go to a
// folder that cannot exist, so nothing is written and the failed save is
// part of the dialogue. The client reports every failure through its host,
// so anything thrown is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/testing/DrivenStallClock.h"
#include "tag_editor/logic/CddbClient.h"

namespace {

class QuietHost : public velmora::TCddbClientHost {
public:
    int choice = 1;
    bool reconnect = false;
    void Send(const std::string&) override {}
    void CloseConnection() override {}
    void ReconnectLater() override { reconnect = true; }
    void RunOver() override {}
    void ShowError(const std::string&) override {}
    int ChooseMatch(const std::vector<velmora::TCddbMatch>& matches) override {
        return matches.empty() ? choice : choice % int(matches.size() + 2) - 1;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    velmora::TCddbRequests queue;
    queue.Add(*velmora::ParseRequestLine("0b012a02 2 150 13500 300"));
    queue.Add(velmora::VirtualDiscInfo({61}));
    wb::net::test::DrivenStallClock clock;
    QuietHost host;
    host.choice = data[0] >> 1;
    velmora::TCddbSettings settings;
    settings.Host = "fuzz";
    settings.EMail = "a@b";
    settings.Version = "1";
    settings.ShowInexact = data[0] & 1;
    settings.TagsFolder = "/proc/velmora-fuzz-no-such-folder";
    velmora::TCddbClient client(queue, settings, host);
    client.Start();
    client.Connecting();
    client.Connected();
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (size_t pos = 0; pos <= rest.size() && !client.Over();) {
        size_t end = rest.find('\x01', pos);
        if (end == std::string_view::npos) end = rest.size();
        std::string_view piece = rest.substr(pos, end - pos);
        pos = end + 1;
        if (host.reconnect) {
            host.reconnect = false;
            client.Connecting();
            client.Connected();
        }
        if (!piece.empty() && piece[0] == '\x02') {
            clock.Advance(std::chrono::seconds(piece.size() > 1 ? static_cast<uint8_t>(piece[1]) : 1));
        } else {
            client.Received(piece);
        }
    }
    client.ConnectionLost();
    return 0;
}
