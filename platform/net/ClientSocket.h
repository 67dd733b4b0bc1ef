#pragma once
// A TCP client connection seen without Qt: open by host name and port, send
// text, and hear of the connection, of arriving bytes and of its end.
//
// Threads: every call and every event happens on the GUI thread; events are
// delivered from its event loop, never from inside a call, so a handler may
// close, reopen or destroy the socket. After Close() or destruction no event
// of the old connection arrives. An exception a handler lets escape is shown
// by the window layer's guard, and the socket goes on.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace wb::net {

class ClientSocket {
public:
    virtual ~ClientSocket() = default;

    // Starts connecting; the outcome comes as OnConnect or OnError. An open
    // connection is closed first.
    virtual void Open(const std::string& host, uint16_t port) = 0;
    virtual void Close() = 0;
    virtual bool Connected() const = 0;
    // Queues bytes for sending; ignored while not connected.
    virtual void SendText(const std::string& text) = 0;

    std::function<void()> OnConnect;
    // Bytes in the pieces the network delivered them.
    std::function<void(const std::string& data)> OnRead;
    // The connection could not be made (the host unknown, refused, timed
    // out); reason is the system's text.
    std::function<void(const std::string& reason)> OnError;
    // The other side ended an open connection, or it broke.
    std::function<void()> OnDisconnect;
};

// The socket on the GUI loop. Needs the application object to exist.
std::unique_ptr<ClientSocket> MakeClientSocket();

} // namespace wb::net
