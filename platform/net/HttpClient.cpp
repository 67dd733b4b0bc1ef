#include "platform/net/HttpClient.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <stdexcept>

#include "platform/base/IoError.h"
#include "platform/base/PendingFile.h"
#include "platform/base/TextUtil.h"
#include "platform/net/StallWatcher.h"

namespace wb::net {

namespace {
// A head longer than this is no reply we could use.
constexpr size_t kMaxHead = 64 * 1024;
} // namespace

std::optional<HttpUrl> ParseHttpUrl(const std::string& url) {
    const std::string scheme = "http://";
    if (url.size() <= scheme.size() || !SameText(url.substr(0, scheme.size()), scheme)) return std::nullopt;
    std::string rest = url.substr(scheme.size());
    HttpUrl u;
    const size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    if (slash != std::string::npos) u.path = rest.substr(slash);
    if (authority.find('@') != std::string::npos) return std::nullopt;
    const size_t colon = authority.rfind(':');
    if (colon != std::string::npos) {
        const std::string port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), ::isdigit)) return std::nullopt;
        const int p = std::stoi(port);
        if (p <= 0 || p > 65535) return std::nullopt;
        u.port = static_cast<uint16_t>(p);
        authority = authority.substr(0, colon);
    }
    if (authority.empty()) return std::nullopt;
    for (char c : authority)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-')) return std::nullopt;
    for (char c : u.path)
        if (static_cast<unsigned char>(c) <= ' ') return std::nullopt;
    u.host = authority;
    return u;
}

void HttpReplyReader::Feed(std::string_view data, const std::function<void(std::string_view)>& body) {
    if (!headDone_) {
        const size_t before = head_.size();
        head_.append(data);
        size_t end = head_.find("\r\n\r\n");
        size_t sep = 4;
        if (end == std::string::npos) {
            end = head_.find("\n\n");
            sep = 2;
        }
        if (end == std::string::npos) {
            if (head_.size() > kMaxHead) throw std::runtime_error("The server's reply head is too long.");
            return;
        }
        const size_t bodyStart = end + sep;
        data = data.substr(bodyStart - before);
        head_.resize(end);
        headDone_ = true;
        ParseHead();
    }
    // Bytes past the announced end are no part of the body.
    if (length_) data = data.substr(0, std::min<uint64_t>(data.size(), *length_ - received_));
    if (data.empty()) return;
    received_ += data.size();
    body(data);
}

void HttpReplyReader::ParseHead() {
    // "HTTP/1.x 200 Reason"
    if (head_.compare(0, 5, "HTTP/") != 0) throw std::runtime_error("The server did not answer in HTTP.");
    const size_t sp = head_.find(' ');
    if (sp == std::string::npos || sp + 4 > head_.size()) throw std::runtime_error("The server's status line is malformed.");
    const std::string code = head_.substr(sp + 1, 3);
    if (!std::all_of(code.begin(), code.end(), ::isdigit)) throw std::runtime_error("The server's status line is malformed.");
    status_ = std::stoi(code);
    const std::string length = Header("Content-Length");
    if (!length.empty()) {
        if (length.size() > 19 || !std::all_of(length.begin(), length.end(), ::isdigit))
            throw std::runtime_error("The server announced a malformed length.");
        length_ = std::stoull(length);
    }
    // Chunk lines would end up in the file as if they were data.
    const std::string coding = Header("Transfer-Encoding");
    if (!coding.empty() && !SameText(coding, "identity"))
        throw std::runtime_error("The server sent its reply in the transfer coding \"" + coding +
                                 "\", which this program cannot read.");
}

std::string HttpReplyReader::Header(std::string_view name) const {
    size_t pos = head_.find('\n');
    while (pos != std::string::npos) {
        const size_t start = pos + 1;
        pos = head_.find('\n', start);
        std::string line = head_.substr(start, pos == std::string::npos ? std::string::npos : pos - start);
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        if (SameText(Trim(line.substr(0, colon)), std::string(name))) return Trim(line.substr(colon + 1));
    }
    return {};
}

HttpClient::HttpClient(SocketMaker makeSocket) : makeSocket_(std::move(makeSocket)) {}

HttpClient::~HttpClient() { Abort(); }

void HttpClient::Abort() {
    if (abort_) abort_();
}

HttpOutcome HttpClient::Get(const std::string& url, const std::string& bodyFile, const std::string& headFile) {
    HttpOutcome out;
    if (busy_) {
        out.failure = HttpFailure::Aborted;
        out.message = "A transfer is running already.";
        return out;
    }
    const auto target = ParseHttpUrl(url);
    if (!target) {
        out.failure = HttpFailure::BadAddress;
        out.message = "\"" + url + "\" is not an HTTP address.";
        return out;
    }
    PendingFile body;
    try {
        body = PendingFile(bodyFile);
    } catch (const std::exception& e) {
        out.failure = HttpFailure::Write;
        out.message = e.what();
        return out;
    }
    busy_ = true;
    std::unique_ptr<ClientSocket> socket = makeSocket_();
    StallWatcher watch({.silence = kStallLimit, .step = kProgressBytes});
    HttpReplyReader reader;
    QEventLoop loop;
    bool finished = false, connected = false;
    auto finish = [&](HttpFailure f, std::string message) {
        if (finished) return;
        finished = true;
        out.failure = f;
        out.message = std::move(message);
        watch.Stop();
        socket->Close();
        loop.quit();
    };
    const std::string limit = std::to_string(kStallLimit.count()) + " seconds";
    watch.OnStall = [&](Stall) {
        if (!connected) return finish(HttpFailure::Connect, "No connection to " + target->host + ": no answer within " + limit + ".");
        finish(HttpFailure::Dropped, "Lost connection to " + target->host + ": the transfer went " + limit +
                                         " without progress.");
    };
    abort_ = [&] { finish(HttpFailure::Aborted, "The transfer was aborted."); };
    socket->OnConnect = [&] {
        connected = true;
        watch.Moved();
        socket->SendText("GET " + target->path + " HTTP/1.0\r\nHost: " + target->host +
                         "\r\nUser-Agent: Velmora\r\nAccept: */*\r\nConnection: close\r\n\r\n");
    };
    socket->OnError = [&](const std::string& reason) {
        finish(HttpFailure::Connect, "No connection to " + target->host + ": " + reason);
    };
    socket->OnRead = [&](const std::string& data) {
        const bool headBefore = reader.HeadDone();
        const uint64_t bodyBefore = reader.BodyReceived();
        try {
            reader.Feed(data, [&](std::string_view part) { body.Write(part.data(), part.size()); });
        } catch (const IoError& e) {
            return finish(HttpFailure::Write, e.what());
        } catch (const std::exception& e) {
            return finish(HttpFailure::Protocol, e.what());
        }
        if (!reader.HeadDone()) return;
        // Only the body's bytes count; the head is one step when it is whole.
        if (!headBefore) watch.Moved();
        else watch.Received(reader.BodyReceived() - bodyBefore);
        out.total = reader.ContentLength().value_or(0);
        out.received = reader.BodyReceived();
        if (OnPacket && reader.BodyReceived() > 0) OnPacket(out.received, out.total);
        if (reader.ContentLength() && reader.BodyReceived() >= *reader.ContentLength())
            finish(HttpFailure::None, {});
    };
    socket->OnDisconnect = [&] {
        if (!reader.HeadDone()) return finish(HttpFailure::Dropped, "The server closed the connection without an answer.");
        // HTTP/1.0: the end of the connection ends a body without a length.
        if (reader.ContentLength() && reader.BodyReceived() < *reader.ContentLength())
            return finish(HttpFailure::Dropped, "The connection broke after " + std::to_string(reader.BodyReceived()) +
                                                    " of " + std::to_string(*reader.ContentLength()) + " bytes.");
        finish(HttpFailure::None, {});
    };
    watch.Begin();
    socket->Open(target->host, target->port);
    if (!finished) loop.exec();
    abort_ = nullptr;
    watch.Stop();
    socket.reset();
    out.status = reader.Status();
    out.contentType = reader.Header("Content-Type");
    out.received = reader.BodyReceived();
    if (out.Ok() && (out.status < 200 || out.status > 299)) {
        out.failure = HttpFailure::Status;
        const size_t eol = reader.Head().find('\r');
        out.message = "The server answered \"" + reader.Head().substr(0, eol) + "\".";
    }
    try {
        if (out.Ok()) body.Commit();
        else body.Discard();
        if (!headFile.empty() && reader.HeadDone()) {
            PendingFile head(headFile);
            head.Write(reader.Head().data(), reader.Head().size());
            head.Commit();
        }
    } catch (const std::exception& e) {
        if (out.Ok()) {
            out.failure = HttpFailure::Write;
            out.message = e.what();
        }
    }
    busy_ = false;
    return out;
}

} // namespace wb::net
