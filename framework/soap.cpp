#include "framework/soap.h"

#include <QXmlStreamReader>

#include <cstdint>
#include <memory>

#include "framework/events.h"

namespace fw {
namespace {

constexpr int kWaitSliceMs = 5;
constexpr int64_t kTicksPerSecond = 60;

std::string EscapeAttribute(const std::string& value) {
    std::string out;
    for (const char c : value) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Removes the socket's observer however the call ends.
class ObserverScope {
  public:
    ObserverScope(HTTPSocket& socket, std::function<void(const HTTPSocket::Outcome&)> observer)
        : socket_(socket) {
        socket_.SetObserver(std::move(observer));
    }
    ~ObserverScope() { socket_.SetObserver(nullptr); }
    ObserverScope(const ObserverScope&) = delete;
    ObserverScope& operator=(const ObserverScope&) = delete;

  private:
    HTTPSocket& socket_;
};

}  // namespace

std::string SOAPResult::Result(const std::string& name) const {
    for (const auto& [element, text] : values_) {
        if (element == name) {
            return text;
        }
    }
    return {};
}

std::string SOAPEnvelope(const std::string& operation, const std::string& methodNamespace) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<SOAP:Envelope xmlns:SOAP=\"http://schemas.xmlsoap.org/soap/envelope/\""
           " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
           " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
           " xmlns:ENC=\"http://schemas.xmlsoap.org/soap/encoding/\""
           " xmlns:si=\"http://soapinterop.org/xsd\">"
           "<SOAP:Body><ns1:" +
           operation + " xmlns:ns1=\"" + EscapeAttribute(methodNamespace) +
           "\"/></SOAP:Body></SOAP:Envelope>";
}

std::optional<SOAPResult> ReadSOAPReply(std::string_view body) {
    QXmlStreamReader xml(QByteArray::fromRawData(body.data(), static_cast<qsizetype>(body.size())));
    SOAPResult result;
    bool envelope = false;
    bool leaf = false;  // the element open now has no child element so far
    QString text;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (!envelope && xml.name() != u"Envelope") {
                    return std::nullopt;
                }
                if (xml.name() == u"Fault") {
                    return std::nullopt;
                }
                envelope = true;
                leaf = true;
                text.clear();
                break;
            case QXmlStreamReader::Characters:
                text += xml.text();
                break;
            case QXmlStreamReader::EndElement:
                if (leaf) {
                    result.values_.emplace_back(xml.name().toString().toStdString(),
                                                text.toStdString());
                }
                leaf = false;
                break;
            default:
                break;
        }
    }
    if (xml.hasError() || !envelope) {
        return std::nullopt;
    }
    return result;
}

void SOAPMethod::UseSocket(HTTPSocket& socket) {
    socket_ = &socket;
}

std::optional<SOAPResult> SOAPMethod::Invoke(const std::string& name) {
    std::unique_ptr<HTTPSocket> own;
    if (socket_ == nullptr) {
        own = std::make_unique<HTTPSocket>();
    }
    HTTPSocket& socket = socket_ != nullptr ? *socket_ : *own;

    bool ended = false;
    std::optional<SOAPResult> result;
    const ObserverScope scope(socket, [&](const HTTPSocket::Outcome& outcome) {
        ended = true;
        if (outcome.kind == HTTPSocket::Outcome::Kind::Page) {
            result = ReadSOAPReply(*outcome.content);
        }
    });
    socket.SetPostContent(SOAPEnvelope(name, methodNamespace), "text/xml");
    socket.SetRequestHeader("SOAPAction", "\"" + action + "\"");
    socket.Post(url);

    const int64_t silence = int64_t{timeout} * kTicksPerSecond;
    const int64_t start = Ticks();
    int64_t lastProgress = start;
    uint64_t progress = socket.Progress();
    while (!ended) {
        // Once a quit is under way no reply can come any more: the call ends unanswered at once.
        const bool eventsGoOn = DoEvents(kWaitSliceMs);
        const int64_t now = Ticks();
        if (socket.Progress() != progress) {
            progress = socket.Progress();
            lastProgress = now;
        }
        if (!ended && (!eventsGoOn || now - lastProgress >= silence ||
                       now - start >= kDeadlineTimeouts * silence)) {
            socket.Close();
            return std::nullopt;
        }
    }
    return result;
}

}  // namespace fw
