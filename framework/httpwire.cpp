// The HTTP client's pure pieces: header list rules, URL split, request bytes, reply reading.
#include <charconv>

#include "framework/http.h"
#include "framework/text.h"

namespace fw {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr size_t kMaxPort = 65535;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// A decimal number of digits only, or nothing (also on overflow).
std::optional<size_t> ParseDecimal(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    size_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

bool StartsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

}  // namespace

void SetHeader(InternetHeaders& headers, const std::string& name, const std::string& value) {
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        if (!EqualsIgnoreCase(it->first, name)) {
            continue;
        }
        if (value.empty()) {
            headers.erase(it);
        } else {
            *it = {name, value};
        }
        return;
    }
    if (!value.empty()) {
        headers.emplace_back(name, value);
    }
}

std::optional<std::string> HeaderValue(const InternetHeaders& headers, std::string_view name) {
    for (const auto& [headerName, value] : headers) {
        if (EqualsIgnoreCase(headerName, name)) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<HTTPURL> ParseHTTPURL(std::string_view url) {
    constexpr std::string_view kScheme = "http://";
    if (!StartsWithIgnoringCase(url, kScheme)) {
        return std::nullopt;
    }
    url.remove_prefix(kScheme.size());
    url = url.substr(0, url.find('#'));
    const size_t authorityEnd = url.find_first_of("/?");
    HTTPURL parsed;
    parsed.authority = std::string(url.substr(0, authorityEnd));
    const std::string_view path =
        authorityEnd == std::string_view::npos ? std::string_view() : url.substr(authorityEnd);
    const bool slashMissing = path.empty() || path.front() == '?';
    parsed.pathAndQuery.assign(slashMissing ? 1 : 0, '/');
    parsed.pathAndQuery.append(path);
    const size_t colon = parsed.authority.rfind(':');
    parsed.host = parsed.authority.substr(0, colon);
    if (colon != std::string::npos) {
        const auto port = ParseDecimal(std::string_view(parsed.authority).substr(colon + 1));
        if (!port || *port == 0 || *port > kMaxPort) {
            return std::nullopt;
        }
        parsed.port = static_cast<uint16_t>(*port);
    }
    if (parsed.host.empty()) {
        return std::nullopt;
    }
    return parsed;
}

std::string FormatHTTPRequest(std::string_view method, const HTTPURL& url, InternetHeaders& headers,
                              std::string_view body, std::string_view contentType) {
    const bool post = method == "POST";
    SetHeader(headers, "Host", url.authority);
    SetHeader(headers, "Content-type", post ? std::string(contentType) : std::string());
    SetHeader(headers, "Content-length", post ? std::to_string(body.size()) : std::string());
    std::string request;
    request.reserve(128 + body.size());
    request.append(method).append(" ").append(url.pathAndQuery).append(" HTTP/1.0");
    for (const auto& [name, value] : headers) {
        request.append(kCrLf).append(name).append(": ").append(value);
    }
    request.append(kCrLf).append(kCrLf);
    if (post) {
        request.append(body);
    }
    return request;
}

HTTPReplyReader::State HTTPReplyReader::Fail() {
    state_ = State::Failed;
    content_.clear();
    head_.clear();
    return state_;
}

// Status line "HTTP/x.y NNN reason", then "Name: value" lines; a line without a colon is skipped.
bool HTTPReplyReader::ReadHead() {
    std::string_view rest = head_;
    const size_t lineEnd = rest.find('\n');
    const std::string_view statusLine = TrimBlanks(rest.substr(0, lineEnd));
    rest = lineEnd == std::string_view::npos ? std::string_view() : rest.substr(lineEnd + 1);
    const size_t blank = statusLine.find(' ');
    if (!StartsWithIgnoringCase(statusLine, "HTTP/") || blank == std::string_view::npos) {
        return false;
    }
    const auto status = ParseDecimal(statusLine.substr(blank + 1, 3));
    if (!status || *status < 100 || *status > 999) {
        return false;
    }
    status_ = static_cast<int>(*status);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        headers_.emplace_back(TrimBlanks(line.substr(0, colon)),
                              TrimBlanks(line.substr(colon + 1)));
    }
    if (const auto length = HeaderValue(headers_, "Content-Length")) {
        contentLength_ = ParseDecimal(*length);
    }
    headRead_ = true;
    head_.clear();
    head_.shrink_to_fit();
    return true;
}

HTTPReplyReader::State HTTPReplyReader::Feed(std::string_view bytes) {
    if (state_ != State::Reading) {
        return state_;
    }
    if (!headRead_) {
        head_.append(bytes);
        if (head_.size() > kMaxReplyBytes) {
            return Fail();
        }
        // The headers end at the first empty line; a search resumes a few bytes back, since the
        // line end may have been split between two arrivals.
        const size_t from = headScanned_ >= 3 ? headScanned_ - 3 : 0;
        size_t end = head_.find("\r\n\r\n", from);
        size_t separator = 4;
        const size_t bare = head_.find("\n\n", from);
        if (bare < end) {
            end = bare;
            separator = 2;
        }
        headScanned_ = head_.size();
        if (end == std::string::npos) {
            return state_;
        }
        std::string body = head_.substr(end + separator);
        head_.resize(end);
        if (!ReadHead()) {
            return Fail();
        }
        if (contentLength_ && *contentLength_ > kMaxReplyBytes) {
            return Fail();
        }
        bytes = {};
        content_ = std::move(body);
    }
    content_.append(bytes);
    if (contentLength_ && content_.size() >= *contentLength_) {
        content_.resize(*contentLength_);
        state_ = State::Complete;
    } else if (content_.size() > kMaxReplyBytes) {
        return Fail();
    }
    return state_;
}

HTTPReplyReader::State HTTPReplyReader::Finish() {
    if (state_ != State::Reading) {
        return state_;
    }
    if (!headRead_ || contentLength_) {
        return Fail();  // closed before the headers ended, or short of the length announced
    }
    state_ = State::Complete;
    return state_;
}

}  // namespace fw
