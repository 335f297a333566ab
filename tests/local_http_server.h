// A local HTTP server for tests and benchmarks: listens on 127.0.0.1 at an ephemeral port, is
// served by the caller's own event loop (pump it: fw::DoEvents), keeps every raw request, and
// answers each one as the test says, or misbehaves as a hostile server would.
#pragma once

#include <sys/socket.h>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class LocalHTTPServer {
  public:
    enum class Behaviour { Answer, NeverAnswer, NeverRead, CloseMidReply, Reset, Trickle };
    // The raw reply to a raw request.
    using Responder = std::function<std::string(const std::string& request)>;

    LocalHTTPServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
    }

    std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(server_.serverPort()); }
    Behaviour behaviour = Behaviour::Answer;
    // The requests it applies to; the others are answered. One that never reads reads none.
    std::function<bool(const std::string&)> misbehavesOn = [](const std::string&) { return true; };
    Responder responder = [](const std::string&) { return Reply(200, ""); };
    std::vector<std::string> requests;  // complete requests, in arrival order

    static std::string Reply(int status, const std::string& body,
                             const std::string& type = "text/xml; charset=utf-8") {
        return "HTTP/1.0 " + std::to_string(status) + " X\r\nContent-Type: " + type +
               "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    }

    // A port on 127.0.0.1 where nothing listens (just released by a server of its own).
    static std::string ClosedHostAndPort() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const std::string address = "127.0.0.1:" + std::to_string(probe.serverPort());
        probe.close();
        return address;
    }

  private:
    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(&server_);
            if (behaviour != Behaviour::NeverRead) {
                auto buffer = std::make_shared<std::string>();
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket, buffer] { Read(socket, *buffer); });
            }
        }
    }

    void Read(QTcpSocket* socket, std::string& buffer) {
        buffer += socket->readAll().toStdString();
        const size_t headEnd = buffer.find("\r\n\r\n");
        if (headEnd == std::string::npos || buffer.size() < headEnd + 4 + BodyLength(buffer)) {
            return;
        }
        requests.push_back(buffer);
        const std::string reply = responder(buffer);
        const Behaviour chosen = misbehavesOn(buffer) ? behaviour : Behaviour::Answer;
        buffer.clear();
        switch (chosen) {
            case Behaviour::Answer:
                socket->write(reply.data(), static_cast<qint64>(reply.size()));
                socket->disconnectFromHost();
                break;
            case Behaviour::CloseMidReply:
                socket->write(reply.data(), static_cast<qint64>(reply.size() / 2));
                socket->disconnectFromHost();
                break;
            case Behaviour::Trickle:
                Trickle(socket, reply);
                break;
            case Behaviour::Reset: {
                // Once the request is in: a reset at the accept races the client's connect, which
                // Qt then repeats for ever on loopback.
                const linger abortive{1, 0};
                setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                           &abortive, sizeof abortive);
                socket->abort();
                break;
            }
            default:
                break;
        }
    }

    // One byte of the reply every 20 ms.
    static void Trickle(QTcpSocket* socket, const std::string& reply) {
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket,
                         [socket, reply, sent = size_t{0}]() mutable {
                             if (sent < reply.size()) {
                                 socket->write(&reply[sent++], 1);
                             }
                         });
        timer->start(20);
    }

    static size_t BodyLength(const std::string& request) {
        for (const char* name : {"Content-length: ", "Content-Length: "}) {
            const size_t at = request.find(name);
            if (at != std::string::npos) {
                return std::stoul(request.substr(at + std::string(name).size()));
            }
        }
        return 0;
    }

    QTcpServer server_;
};
