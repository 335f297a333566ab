// The word service's ping against a local server: the request on the wire, and which answers
// choose the SOAP clients. Silence and the overall deadline run on a clock ten times as fast.
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "framework/appobject.h"
#include "framework/events.h"
#include "framework/ui.h"
#include "local_http_server.h"
#include "online_replies.h"
#include "sources/ServiceHosts.h"
#include "worddata/DIC.h"

namespace {

int64_t FastTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count() * 60 / 100;
}

class ProbeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DIC::gSelectedLanguage = "DE";
        DIC::gUL_UseWWW = 0;
        ServiceHosts::PointAllAt(server_.HostAndPort());
        fw::SetTicksSource(FastTicks);
    }
    void TearDown() override {
        fw::SetTicksSource(nullptr);
        ServiceHosts::Set({});
    }

    int32_t Probe(const std::string& reply) {
        server_.responder = [reply](const std::string&) { return reply; };
        DIC::gUL_UseWWW = 0;
        DIC::CheckUL_SOAP();
        return DIC::gUL_UseWWW;
    }

    LocalHTTPServer server_;
};

TEST_F(ProbeTest, PingLeavesAsOnePostWithTheQuotedActionAndTheEnvelope) {
    Probe(LocalHTTPServer::Reply(200, online::PingReply(online::kReady)));
    ASSERT_EQ(server_.requests.size(), 1u);
    const std::string root = "http://" + server_.HostAndPort();
    const std::string body =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SOAP:Envelope "
        "xmlns:SOAP=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xmlns:ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
        "xmlns:si=\"http://soapinterop.org/xsd\"><SOAP:Body><ns1:ping xmlns:ns1=\"" +
        root + "\"/></SOAP:Body></SOAP:Envelope>";
    EXPECT_EQ(server_.requests[0],
              "POST /axis/services/Baseform HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\n"
              "SOAPAction: \"" +
                  root + "/axis/services/Baseform\"\r\nHost: " + server_.HostAndPort() +
                  "\r\nContent-type: text/xml\r\nContent-length: " + std::to_string(body.size()) +
                  "\r\n\r\n" + body);
}

TEST_F(ProbeTest, OnlyTheReadyTextInAnyLetterCaseChoosesTheSoapClientsAndSilenceThePortal) {
    const std::string fault =
        "<soapenv:Envelope xmlns:soapenv=\"x\"><soapenv:Body><soapenv:Fault><faultstring>"
        "no</faultstring></soapenv:Fault></soapenv:Body></soapenv:Envelope>";
    struct Case {
        std::string reply;
        int32_t route;
    } cases[] = {
        {LocalHTTPServer::Reply(200, online::PingReply(online::kReady)), 2},
        {LocalHTTPServer::Reply(500,
                                online::PingReply("WEBSERVICE &quot;baseform&quot; IS READY.")),
         2},
        {LocalHTTPServer::Reply(200,
                                online::PingReply(" Webservice &quot;Baseform&quot; is ready.")),
         1},
        {LocalHTTPServer::Reply(500, fault), 1},
        {LocalHTTPServer::Reply(200, "<html>Webservice \"Baseform\" is ready.</html>"), 1},
        {LocalHTTPServer::Reply(401, online::PingReply(online::kReady)), 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Probe(c.reply), c.route) << c.reply;
    }

    // Silence, a trickle and a closed port all end in the portal route.
    const std::string ready = LocalHTTPServer::Reply(200, online::PingReply(online::kReady));
    for (const auto behaviour :
         {LocalHTTPServer::Behaviour::NeverAnswer, LocalHTTPServer::Behaviour::NeverRead,
          LocalHTTPServer::Behaviour::Trickle}) {
        server_.behaviour = behaviour;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Probe(ready), 1);
        // 3 s of silence, or 9 s in all, on the fast clock.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    }
    ServiceHosts::PointAllAt(LocalHTTPServer::ClosedHostAndPort());
    EXPECT_EQ(Probe(ready), 1);
    DIC::gSelectedLanguage = "EN";
    EXPECT_EQ(Probe(ready), 0);
}

// The probe of the first search, inside the running application, which is asked to quit while
// the ping waits on a silent server.
class QuitDuringProbe : public fw::Application {
  protected:
    void Open() override {
        QTimer::singleShot(100, [] { fw::Quit(0); });
        DIC::CheckUL_SOAP();
    }
};

// Qt serves no event once the quit has ended its loops, so a wait that pumped on would spin at
// full CPU until its own time limit: the ping ends at once, unanswered.
TEST_F(ProbeTest, QuitWhileThePingWaitsEndsItAtOnceUnanswered) {
    fw::SetTicksSource(nullptr);  // the real 3 s of silence
    server_.behaviour = LocalHTTPServer::Behaviour::NeverAnswer;
    std::unique_ptr<fw::UIServices> previous = fw::SetUI(nullptr);  // the real quit
    QuitDuringProbe application;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = fw::ThreadCpuMilliseconds();
    EXPECT_EQ(application.Run(), 0);
    // The CPU time tells the spinning wait apart; the time allows a loaded machine's scheduling.
    EXPECT_LT(fw::ThreadCpuMilliseconds() - cpuStart, 500);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    fw::SetUI(std::move(previous));
    EXPECT_EQ(DIC::gUL_UseWWW, 1);
    EXPECT_EQ(server_.requests.size(), 1u);
}

}  // namespace
