#include "platform/net/ClientSocket.h"

#include <memory>

#include <QTcpSocket>

#include "platform/gui/Guard.h"

namespace wb::net {

namespace {

class QtClientSocket final : public ClientSocket {
public:
    QtClientSocket() = default;
    ~QtClientSocket() override { Drop(); }

    void Open(const std::string& host, uint16_t port) override {
        Drop();
        socket_ = new QTcpSocket;
        alive_ = std::make_shared<bool>(true);
        everConnected_ = failed_ = lost_ = false;
        QTcpSocket* s = socket_;
        // Queued, so no handler runs inside a call of ours (connectToHost may
        // report a bad address at once). An event queued before Close finds
        // its connection gone and does nothing. Each handler is called inside
        // the guard, so a failing one leaves the socket's own state whole.
        auto on = [this, s, alive = std::weak_ptr<bool>(alive_)](auto action) {
            return [this, s, alive, action](auto&&...) {
                auto a = alive.lock();
                if (a && *a && socket_ == s) action(s);
            };
        };
        QObject::connect(s, &QTcpSocket::connected, s, on([this](QTcpSocket*) {
            everConnected_ = true;
            wb::gui::Fire(OnConnect);
        }), Qt::QueuedConnection);
        QObject::connect(s, &QTcpSocket::readyRead, s, on([this](QTcpSocket* sock) {
            QByteArray bytes = sock->readAll();
            if (!bytes.isEmpty()) wb::gui::Fire(OnRead, bytes.toStdString());
        }), Qt::QueuedConnection);
        QObject::connect(s, &QTcpSocket::errorOccurred, s, on([this](QTcpSocket* sock) {
            if (everConnected_ || sock->state() == QAbstractSocket::ConnectedState) {
                Lost();
            } else if (!failed_) {
                failed_ = true;
                wb::gui::Fire(OnError, sock->errorString().toStdString());
            }
        }), Qt::QueuedConnection);
        QObject::connect(s, &QTcpSocket::disconnected, s, on([this](QTcpSocket*) { Lost(); }),
                         Qt::QueuedConnection);
        s->connectToHost(QString::fromStdString(host), port);
    }

    void Close() override { Drop(); }

    bool Connected() const override {
        return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
    }

    void SendText(const std::string& text) override {
        if (Connected()) socket_->write(text.data(), static_cast<qint64>(text.size()));
    }

private:
    void Lost() {
        if (lost_ || !everConnected_) return;
        lost_ = true;
        // Bytes that came with the end are delivered before it; the reader
        // may close the socket.
        if (socket_->bytesAvailable() > 0 && OnRead) {
            auto alive = std::weak_ptr<bool>(alive_);
            wb::gui::Fire(OnRead, socket_->readAll().toStdString());
            auto a = alive.lock();
            if (!a || !*a) return;
        }
        wb::gui::Fire(OnDisconnect);
    }

    // Disconnecting first means no signal of this socket reaches a handler,
    // including those already queued.
    void Drop() {
        if (!socket_) return;
        QTcpSocket* s = socket_;
        socket_ = nullptr;
        *alive_ = false;
        alive_.reset();
        QObject::disconnect(s, nullptr, nullptr, nullptr);
        s->abort();
        s->deleteLater();
    }

    QTcpSocket* socket_ = nullptr;
    std::shared_ptr<bool> alive_;
    bool everConnected_ = false, failed_ = false, lost_ = false;
};

} // namespace

std::unique_ptr<ClientSocket> MakeClientSocket() { return std::make_unique<QtClientSocket>(); }

} // namespace wb::net
