// Replies of the online word sources, built in the tests: word-service SOAP replies, the ping's
// answer, and a responder for a local server that knows no word at all.
#pragma once

#include <string>
#include <vector>

#include "local_http_server.h"

namespace online {

// A word-service reply whose result holds `rows` as <nsN:dataRow> elements, in order, `perVector`
// of them in each data vector.
inline std::string SoapRows(const std::vector<std::string>& rows, size_t perVector = 1) {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soapenv:Envelope xmlns:soapenv=\"x\">"
        "<soapenv:Body><executeResponse><executeReturn><result>";
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string tag = "ns" + std::to_string(i + 2) + ":dataRow";
        body += (i % perVector ? "<" : "<dataVectors><") + tag + ">" + rows[i] + "</" + tag + ">";
        body += (i + 1) % perVector && i + 1 < rows.size() ? "" : "</dataVectors>";
    }
    return body + "</result></executeReturn></executeResponse></soapenv:Body></soapenv:Envelope>";
}

inline std::string PingReply(const std::string& text) {
    return "<soapenv:Envelope xmlns:soapenv=\"x\"><soapenv:Body><ns1:pingResponse "
           "xmlns:ns1=\"urn:x\">"
           "<pingReturn>" +
           text +
           "</pingReturn></ns1:pingResponse></soapenv:Body>"
           "</soapenv:Envelope>";
}

inline const char* kReady = "Webservice &quot;Baseform&quot; is ready.";
inline const char* kNoResults = "<h3>Your search did not return any results.</h3>";

// Services that are up and know no word: the ping says ready, the SOAP operations have no rows,
// the portal page no entry, the lexical database its no-results page.
inline std::string KnowsNothing(const std::string& request) {
    if (request.find("<ns1:ping") != std::string::npos) {
        return LocalHTTPServer::Reply(200, PingReply(kReady));
    }
    if (request.rfind("POST ", 0) == 0) {
        return LocalHTTPServer::Reply(200, SoapRows({}));
    }
    const bool wordNet = request.find("/perl/webwn") != std::string::npos;
    return LocalHTTPServer::Reply(200, wordNet ? kNoResults : "<html></html>", "text/html");
}

}  // namespace online
