// The framework's asynchronous HTTP/1.0 client on a QTcpSocket, and the pure pieces it is made of:
// the URL split, the request formatting and the reply reader, which tests, benchmarks and fuzz
// targets call on a byte buffer without any socket. Main OS thread only; the events come from
// Qt's event loop, on the main context or inside a DoEvents pump of a fiber.
//
// One request at a time per object. The object is idle again before it raises the event that
// ends a request, so a handler may send the next request on the same object; the QTcpSocket
// underneath is never deleted inside its own signal. After Close no event of that request comes.
// A reply over kMaxReplyBytes, or one that ends before it is complete, is an Error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

// Header lines in their order, names as given.
using InternetHeaders = std::vector<std::pair<std::string, std::string>>;

// Replaces the header of the same name (ignoring case) where it stands, or appends it; an empty
// value deletes it.
void SetHeader(InternetHeaders& headers, const std::string& name, const std::string& value);
// The value of the first header of that name (ignoring case), or nothing.
std::optional<std::string> HeaderValue(const InternetHeaders& headers, std::string_view name);

// "http://host[:port][/path][?query]", split for a request.
struct HTTPURL {
    std::string host;
    uint16_t port = 80;
    std::string authority;     // host, with ":port" when the URL gives one (the "Host" header)
    std::string pathAndQuery;  // "/" when the URL has no path; a "#fragment" is dropped
};
// Nothing for another scheme, an empty host or a port outside 1-65535.
std::optional<HTTPURL> ParseHTTPURL(std::string_view url);

// The request's bytes. First "Host" is set to the URL's authority; a POST sets "Content-type" to
// `contentType` and "Content-length" to the body's byte count, a GET deletes both; all three
// replace headers of those names (ignoring case) and stay in `headers`. Then the request line
// (method, path, "HTTP/1.0"), the header lines, an empty line and, for a POST, the body.
std::string FormatHTTPRequest(std::string_view method, const HTTPURL& url, InternetHeaders& headers,
                              std::string_view body, std::string_view contentType);

// Reads one HTTP reply from the bytes as they arrive: the status line, the headers, then the body
// up to Content-Length, or to the server's close when the reply names no length. A reply larger
// than kMaxReplyBytes, a status line that is no HTTP status, or a close before the reply is
// complete fails. Pure; bytes after a complete reply are ignored.
class HTTPReplyReader {
  public:
    static constexpr size_t kMaxReplyBytes = 4 * 1024 * 1024;
    enum class State { Reading, Complete, Failed };

    State Feed(std::string_view bytes);
    // The server closed the connection.
    State Finish();

    State GetState() const { return state_; }
    int Status() const { return status_; }
    const InternetHeaders& Headers() const { return headers_; }
    // The body; valid once complete.
    const std::string& Content() const { return content_; }
    // The status line and headers have been read (Status() and Headers() are set).
    bool HeadRead() const { return headRead_; }

  private:
    State Fail();
    bool ReadHead();

    State state_ = State::Reading;
    std::string head_;  // bytes before the end of the headers
    size_t headScanned_ = 0;
    bool headRead_ = false;
    int status_ = 0;
    InternetHeaders headers_;
    std::optional<size_t> contentLength_;
    std::string content_;
};

class HTTPSocket {
  public:
    // Error codes of the Error event; the program's clients never look at them.
    static constexpr int kLostConnection = 102;  // refused, reset, or closed mid-reply
    static constexpr int kNameResolutionFailed = 103;
    static constexpr int kInvalidURL = 106;
    static constexpr int kBadReply = 108;  // too large, or no HTTP reply

    // Starts the header list with "Accept" "*/*" and "Accept-Language" "en".
    HTTPSocket();
    virtual ~HTTPSocket();
    HTTPSocket(const HTTPSocket&) = delete;
    HTTPSocket& operator=(const HTTPSocket&) = delete;

    // The body and its content type for the next POST.
    void SetPostContent(std::string body, std::string type);
    // Empties the header list, the two default headers included.
    void ClearRequestHeaders();
    // Sets one header, replacing one of the same name (ignoring case); an empty value deletes it.
    void SetRequestHeader(const std::string& name, const std::string& value);
    const InternetHeaders& RequestHeaders() const;

    // Send one request to the URL's host and port once connected; return at once. A request still
    // under way is closed first. An invalid URL ends in Error, raised from the event loop.
    void Post(const std::string& url);
    void Get(const std::string& url);

    // The TCP connection of the request is open.
    bool IsConnected() const;
    // A request is under way in any state: resolving, connecting, sending or reading.
    bool InFlight() const;
    // Ends the request under way, whatever its state; no event of it comes any more.
    void Close();

    // Grows whenever reply data arrives or the connection's state changes: synchronous users
    // count their silence from it.
    uint64_t Progress() const;

    // How a request ended, for a synchronous user (the SOAP method) that is told about every end
    // before the socket's own event runs. Only one observer at a time; nullptr removes it.
    struct Outcome {
        enum class Kind { Page, Error, AuthenticationRequired } kind;
        int status = 0;
        int errorCode = 0;
        const std::string* content = nullptr;  // valid during the call only
    };
    void SetObserver(std::function<void(const Outcome&)> observer);

  protected:
    // The whole reply arrived, whatever its status (401 excepted).
    virtual void PageReceived(const std::string& url, int httpStatus,
                              const InternetHeaders& headers, const std::string& content);
    // The request failed before a reply was complete.
    virtual void Error(int code);
    // The server answered 401. This client never sends credentials: whatever the result, the
    // request has ended.
    virtual bool AuthenticationRequired(const InternetHeaders& headers, std::string& name,
                                        std::string& password);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
