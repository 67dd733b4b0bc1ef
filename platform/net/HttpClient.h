#pragma once
// An HTTP/1.0 client for plain downloads: GET an address into a file,
// streamed to disk with bounded memory, with progress after every packet.
// The call blocks its caller but keeps the GUI loop running, so a window
// stays live (and may abort) while a transfer runs. No Qt in this header.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/net/ClientSocket.h"

namespace wb::net {

struct HttpUrl {
    std::string host;
    uint16_t port = 80;
    std::string path = "/";
};
// "http://host[:port][/path]"; nothing for any other address.
std::optional<HttpUrl> ParseHttpUrl(const std::string& url);

// Reads a reply as it arrives: the status line and the headers, then the body.
class HttpReplyReader {
public:
    // Body bytes go to the sink as they come, never more than the announced
    // length. Throws std::runtime_error for a reply that is not HTTP, whose
    // head grows without end, or whose body comes in a transfer coding (an
    // HTTP/1.0 request accepts none).
    void Feed(std::string_view data, const std::function<void(std::string_view)>& body);
    bool HeadDone() const { return headDone_; }
    int Status() const { return status_; }
    const std::string& Head() const { return head_; }
    // A header's value by its name, ignoring case; empty when absent.
    std::string Header(std::string_view name) const;
    std::optional<uint64_t> ContentLength() const { return length_; }
    uint64_t BodyReceived() const { return received_; }

private:
    void ParseHead();
    std::string head_;
    bool headDone_ = false;
    int status_ = 0;
    std::optional<uint64_t> length_;
    uint64_t received_ = 0;
};

enum class HttpFailure { None, BadAddress, Connect, Protocol, Status, Dropped, Aborted, Write };

struct HttpOutcome {
    HttpFailure failure = HttpFailure::None;
    std::string message;  // what went wrong, for the user
    int status = 0;
    uint64_t received = 0, total = 0;
    std::string contentType;
    bool Ok() const { return failure == HttpFailure::None; }
};

class HttpClient {
public:
    // A transfer that goes this long without a step forward is a lost
    // connection: connected, the head complete, or another kProgressBytes
    // of the body (a byte now and then keeps no transfer alive).
    static constexpr std::chrono::seconds kStallLimit{30};
    static constexpr uint64_t kProgressBytes = 1024;

    using SocketMaker = std::function<std::unique_ptr<ClientSocket>()>;
    explicit HttpClient(SocketMaker makeSocket = MakeClientSocket);
    ~HttpClient();

    // Fetches the address into bodyFile, which is replaced only when the
    // whole body of a 2xx reply arrived; else it stays as it was and no
    // partial file is left. The reply's head goes to headFile when named.
    HttpOutcome Get(const std::string& url, const std::string& bodyFile, const std::string& headFile = "");
    // Ends a running transfer; its Get returns Aborted.
    void Abort();
    bool Busy() const { return busy_; }
    // After every packet of the body: bytes so far and the announced total (0: none).
    std::function<void(uint64_t received, uint64_t total)> OnPacket;

private:
    SocketMaker makeSocket_;
    bool busy_ = false;
    std::function<void()> abort_;
};

} // namespace wb::net
