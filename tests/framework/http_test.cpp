// The HTTP/1.0 client against local servers that misbehave, and its reply reader on byte buffers.
// The request bytes, a request sent from inside a handler and a close in any state are checked
// with the clients that use them (tests/search/online_test.cpp).
#include "framework/http.h"

#include <string>

#include <gtest/gtest.h>

#include "framework/events.h"
#include "framework/fiber_helpers.h"
#include "local_http_server.h"

namespace {

using State = fw::HTTPReplyReader::State;

class RecordingSocket : public fw::HTTPSocket {
  public:
    std::vector<std::string> events;  // "page 200 <content>", "error", "401"

    void PageReceived(const std::string&, int status, const fw::InternetHeaders&,
                      const std::string& content) override {
        events.push_back("page " + std::to_string(status) + " " + content);
    }
    void Error(int) override { events.push_back("error"); }
    bool AuthenticationRequired(const fw::InternetHeaders&, std::string&, std::string&) override {
        events.push_back("401");
        return false;
    }
};

TEST(HTTPReplyReaderTest, BodyEndsAtTheLengthOrAtTheCloseAndEveryShortOrOversizedReplyFails) {
    constexpr size_t kMax = fw::HTTPReplyReader::kMaxReplyBytes;
    const std::string big = std::to_string(kMax + 1);
    struct Case {
        std::vector<std::string> pieces;
        bool closed;
        State state;
        std::string content;
    } cases[] = {
        {{"HTTP/1.0 200 OK\r\nContent-Length: 3\r", "\n\r", "\nabcdef"},
         false,
         State::Complete,
         "abc"},
        {{"HTTP/1.1 500 Err\nX: y\n\nfault"}, true, State::Complete, "fault"},
        {{"HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\nabc"}, true, State::Failed, ""},
        {{"HTTP/1.0 200 OK\r\n"}, true, State::Failed, ""},
        {{"<html>no status line</html>\r\n\r\n"}, true, State::Failed, ""},
        {{"HTTP/1.0 200 OK\r\nContent-Length: " + big + "\r\n\r\n"}, false, State::Failed, ""},
        {{"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabc" + std::string(2 * kMax, 'x')},
         false,
         State::Complete,
         "abc"},
        {{"HTTP/1.0 200 OK\r\n\r\n", std::string(kMax, 'x'), "y"}, false, State::Failed, ""},
    };
    for (const Case& c : cases) {
        fw::HTTPReplyReader reader;
        for (const std::string& piece : c.pieces) {
            reader.Feed(piece);
        }
        if (c.closed) {
            reader.Finish();
        }
        EXPECT_EQ(reader.GetState(), c.state) << c.pieces[0];
        EXPECT_EQ(reader.Content(), c.content) << c.pieces[0];
    }
}

TEST(HTTPSocketTest, EveryHostileServerEndsTheRequestWithExactlyOneEvent) {
    using B = LocalHTTPServer::Behaviour;
    struct Case {
        B behaviour;
        std::string reply;
        std::string event;
    } cases[] = {
        {B::Answer, LocalHTTPServer::Reply(500, "<fault/>"), "page 500 <fault/>"},
        {B::Answer, LocalHTTPServer::Reply(401, ""), "401"},
        {B::Answer, LocalHTTPServer::Reply(200, std::string(10 << 20, 'x')), "error"},
        {B::CloseMidReply, LocalHTTPServer::Reply(200, "0123456789"), "error"},
        {B::Reset, "", "error"},
    };
    for (const Case& c : cases) {
        LocalHTTPServer server;
        server.behaviour = c.behaviour;
        server.responder = [&c](const std::string&) { return c.reply; };
        RecordingSocket socket;
        socket.Get("http://" + server.HostAndPort() + "/");
        PumpUntil([&] { return !socket.events.empty(); });
        fw::DoEvents(50);
        EXPECT_EQ(socket.events, std::vector<std::string>{c.event}) << c.reply.substr(0, 40);
        EXPECT_FALSE(socket.InFlight());
    }
    RecordingSocket refused;
    refused.Get("http://" + LocalHTTPServer::ClosedHostAndPort() + "/");
    refused.Get("no url");  // closes the request under way; fails from the event loop
    EXPECT_TRUE(refused.events.empty());
    PumpUntil([&] { return !refused.events.empty(); });
    fw::DoEvents(50);
    EXPECT_EQ(refused.events, std::vector<std::string>{"error"});
}

}  // namespace
