// A synchronous SOAP 1.1 call without parameters over the framework's HTTP client, and its two
// pure pieces: the request envelope and the reply reader (QXmlStreamReader; entities decoded).
// Invoke pumps events while it waits, so timers, socket events and the cooperative threads go on
// meanwhile. Main OS thread; on the main context or on a fiber.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/http.h"

namespace fw {

class SOAPResult {
  public:
    // The text of the first element of that local name in the reply, entities decoded; "" when
    // the reply has none.
    std::string Result(const std::string& name) const;

  private:
    friend std::optional<SOAPResult> ReadSOAPReply(std::string_view body);
    std::vector<std::pair<std::string, std::string>> values_;  // leaf elements, document order
};

// The request body: a SOAP 1.1 envelope with the prefix "SOAP", declaring SOAP, xsd, xsi, ENC and
// si, whose body holds one empty element `operation` with the prefix "ns1" bound to the
// namespace. One line, no white space between tags.
std::string SOAPEnvelope(const std::string& operation, const std::string& methodNamespace);
// The reply body read: nothing for text that is no well-formed SOAP envelope, or for a fault.
std::optional<SOAPResult> ReadSOAPReply(std::string_view body);

class SOAPMethod {
  public:
    std::string methodNamespace;
    std::string url;
    std::string action;  // sent as the "SOAPAction" header, in double quotes
    int timeout = 30;    // seconds of silence before the call gives up

    // The socket the call is sent with; it must outlive the call. Without one, Invoke uses its own.
    void UseSocket(HTTPSocket& socket);

    // POSTs the envelope (content type "text/xml") and waits for the reply. Nothing when the
    // request fails, the server answers 401, the reply is a fault or no envelope, `timeout`
    // seconds pass without reply data or a change of the connection's state, or
    // kDeadlineTimeouts times `timeout` pass altogether (a server sending a byte now and then
    // never holds the caller longer), or a quit is under way (fw::QuitUnderWay). The clock is
    // fw::Ticks, which tests may replace.
    std::optional<SOAPResult> Invoke(const std::string& name);

    static constexpr int kDeadlineTimeouts = 3;

  private:
    HTTPSocket* socket_ = nullptr;
};

}  // namespace fw
