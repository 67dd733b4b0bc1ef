// The CDDBP dialogue fed whatever a server might send. The first byte picks
// the chooser's answer and the inexact setting; byte 0x01 splits the rest
// into arrivals. Tag lists go to a folder that cannot exist, so nothing is
// written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/IoError.h"
#include "tag_editor/logic/CddbClient.h"

namespace {

class QuietHost : public velmora::TCddbClientHost {
public:
    int choice = 1;
    void Send(const std::string&) override {}
    void CloseConnection() override {}
    void ReconnectLater() override {}
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
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t pos = 0;
    try {
        while (pos <= rest.size() && !client.Over()) {
            size_t end = rest.find('\x01', pos);
            if (end == std::string::npos) end = rest.size();
            client.Received(std::string_view(rest).substr(pos, end - pos));
            pos = end + 1;
        }
        client.ConnectionLost();
    } catch (const wb::IoError&) {
        // The tag list could not be written: the window shows this.
    }
    return 0;
}
