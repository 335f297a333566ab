// The HTTP client's socket side: one QTcpSocket per request, made by Post or Get and released
// (signals cut, connection aborted, deleted from the event loop) before the event that ends the
// request is raised, so that a handler may start the next request on the same object.
#include "framework/http.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QTcpSocket>

namespace fw {

struct HTTPSocket::Impl {
    explicit Impl(HTTPSocket& o) : owner(o) {}
    ~Impl() { ReleaseSocket(); }

    void Start(std::string_view method, const std::string& requestURL);
    void ReleaseSocket();
    void Connected();
    void ReadArrived();
    void Closed(QAbstractSocket::SocketError error);
    void Settle();
    void RaiseError(int code);
    void RaisePage();

    HTTPSocket& owner;
    InternetHeaders headers{{"Accept", "*/*"}, {"Accept-Language", "en"}};
    std::string postBody;
    std::string postType;
    uint64_t progress = 0;
    std::function<void(const Outcome&)> observer;

    // The request under way.
    std::string url;
    std::string request;
    HTTPReplyReader reader;
    QTcpSocket* socket = nullptr;  // released through ReleaseSocket only
    bool inFlight = false;
    uint64_t generation = 0;  // tells a queued event of a closed request from the current one
    QObject context;          // owns the queued calls; they die with the object
};

namespace {

int ErrorCode(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::HostNotFoundError:
            return HTTPSocket::kNameResolutionFailed;
        default:
            return HTTPSocket::kLostConnection;
    }
}

}  // namespace

void HTTPSocket::Impl::ReleaseSocket() {
    if (socket == nullptr) {
        return;
    }
    QTcpSocket* const released = std::exchange(socket, nullptr);
    QObject::disconnect(released, nullptr, &context, nullptr);
    released->abort();
    // Possibly inside one of its own signals: the event loop deletes it. Without an application
    // no signal can be running.
    if (QCoreApplication::instance() != nullptr) {
        released->deleteLater();
    } else {
        delete released;
    }
}

void HTTPSocket::Impl::Start(std::string_view method, const std::string& requestURL) {
    owner.Close();
    ++generation;
    inFlight = true;
    url = requestURL;
    reader = HTTPReplyReader();
    const auto parsed = ParseHTTPURL(requestURL);
    if (!parsed) {
        // Raised from the event loop, never inside the caller's Post or Get.
        QMetaObject::invokeMethod(
            &context,
            [this, expected = generation] {
                if (inFlight && generation == expected) {
                    RaiseError(kInvalidURL);
                }
            },
            Qt::QueuedConnection);
        return;
    }
    request = FormatHTTPRequest(method, *parsed, headers, postBody, postType);
    socket = new QTcpSocket();
    QObject::connect(socket, &QTcpSocket::connected, &context, [this] { Connected(); });
    QObject::connect(socket, &QTcpSocket::readyRead, &context, [this] { ReadArrived(); });
    QObject::connect(socket, &QTcpSocket::stateChanged, &context, [this] { ++progress; });
    QObject::connect(socket, &QTcpSocket::errorOccurred, &context,
                     [this](QAbstractSocket::SocketError error) { Closed(error); });
    QObject::connect(socket, &QTcpSocket::disconnected, &context,
                     [this] { Closed(QAbstractSocket::RemoteHostClosedError); });
    // Queued as well: a refusal that the connect call itself reports comes as an event then.
    QMetaObject::invokeMethod(
        &context,
        [this, expected = generation, host = QString::fromStdString(parsed->host),
         port = parsed->port] {
            if (socket != nullptr && generation == expected) {
                socket->connectToHost(host, port);
            }
        },
        Qt::QueuedConnection);
}

void HTTPSocket::Impl::Connected() {
    ++progress;
    socket->write(request.data(), static_cast<qint64>(request.size()));
}

void HTTPSocket::Impl::ReadArrived() {
    ++progress;
    const QByteArray bytes = socket->readAll();
    reader.Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    Settle();
}

// The server closed or reset the connection, or it never opened: what arrived is the reply, if
// it is complete.
void HTTPSocket::Impl::Closed(QAbstractSocket::SocketError error) {
    if (socket == nullptr) {
        return;
    }
    ++progress;
    const QByteArray rest = socket->readAll();
    reader.Feed(std::string_view(rest.constData(), static_cast<size_t>(rest.size())));
    if (reader.GetState() == HTTPReplyReader::State::Reading) {
        if (error == QAbstractSocket::RemoteHostClosedError) {
            reader.Finish();
        } else {
            RaiseError(ErrorCode(error));
            return;
        }
    }
    Settle();
}

void HTTPSocket::Impl::Settle() {
    switch (reader.GetState()) {
        case HTTPReplyReader::State::Reading:
            return;
        case HTTPReplyReader::State::Failed:
            RaiseError(reader.HeadRead() ? kLostConnection : kBadReply);
            return;
        case HTTPReplyReader::State::Complete:
            RaisePage();
            return;
    }
}

void HTTPSocket::Impl::RaiseError(int code) {
    ReleaseSocket();
    inFlight = false;
    if (observer) {
        observer(Outcome{Outcome::Kind::Error, 0, code, nullptr});
    }
    owner.Error(code);
}

void HTTPSocket::Impl::RaisePage() {
    ReleaseSocket();
    inFlight = false;
    // The reader is reset by the next request, which a handler may send: the event works on
    // copies.
    const HTTPReplyReader reply = std::move(reader);
    reader = HTTPReplyReader();
    const std::string requested = url;
    const bool unauthorized = reply.Status() == 401;
    if (observer) {
        observer(Outcome{unauthorized ? Outcome::Kind::AuthenticationRequired : Outcome::Kind::Page,
                         reply.Status(), 0, &reply.Content()});
    }
    if (unauthorized) {
        std::string name;
        std::string password;
        owner.AuthenticationRequired(reply.Headers(), name, password);
        return;
    }
    owner.PageReceived(requested, reply.Status(), reply.Headers(), reply.Content());
}

HTTPSocket::HTTPSocket() : impl_(std::make_unique<Impl>(*this)) {}

HTTPSocket::~HTTPSocket() = default;

void HTTPSocket::SetPostContent(std::string body, std::string type) {
    impl_->postBody = std::move(body);
    impl_->postType = std::move(type);
}

void HTTPSocket::ClearRequestHeaders() {
    impl_->headers.clear();
}

void HTTPSocket::SetRequestHeader(const std::string& name, const std::string& value) {
    SetHeader(impl_->headers, name, value);
}

const InternetHeaders& HTTPSocket::RequestHeaders() const {
    return impl_->headers;
}

void HTTPSocket::Post(const std::string& url) {
    impl_->Start("POST", url);
}

void HTTPSocket::Get(const std::string& url) {
    impl_->Start("GET", url);
}

bool HTTPSocket::IsConnected() const {
    return impl_->socket != nullptr && impl_->socket->state() == QAbstractSocket::ConnectedState;
}

bool HTTPSocket::InFlight() const {
    return impl_->inFlight;
}

void HTTPSocket::Close() {
    impl_->ReleaseSocket();
    impl_->inFlight = false;
    ++impl_->generation;
}

uint64_t HTTPSocket::Progress() const {
    return impl_->progress;
}

void HTTPSocket::SetObserver(std::function<void(const Outcome&)> observer) {
    impl_->observer = std::move(observer);
}

void HTTPSocket::PageReceived(const std::string&, int, const InternetHeaders&, const std::string&) {
}

void HTTPSocket::Error(int) {}

bool HTTPSocket::AuthenticationRequired(const InternetHeaders&, std::string&, std::string&) {
    return false;
}

}  // namespace fw
