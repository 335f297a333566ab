// The word store's online part: the six long-lived client objects and the word service's probe.
#include <memory>

#include "framework/soap.h"
#include "framework/text.h"
#include "sources/ServiceHosts.h"
#include "sources/UL_Baseform.h"
#include "sources/UL_ListClients.h"
#include "sources/UL_WWWSocket.h"
#include "sources/WordNetSocket.h"
#include "worddata/DIC.h"

namespace DIC {

std::unique_ptr<WordNetSocket> gWordNet;
std::unique_ptr<UL_Baseform> gUL_Baseform;
std::unique_ptr<UL_Sachgebiete> gUL_Sachgebiete;
std::unique_ptr<UL_Synonyms> gUL_Synonyms;
std::unique_ptr<UL_Thesaurus> gUL_Thesaurus;
std::unique_ptr<UL_WWWSocket> gUL_WWWSocket;

namespace {

constexpr int kPingTimeOutSeconds = 3;
// "Webservice "Baseform" is ready.", 31 characters.
constexpr const char* kPingReady = "Webservice \"Baseform\" is ready.";

template <class Client>
void Create(std::unique_ptr<Client>& client) {
    if (!client) {
        client = std::make_unique<Client>();
    }
}

}  // namespace

void CreateOnlineClients() {
    Create(gWordNet);
    Create(gUL_Baseform);
    Create(gUL_Sachgebiete);
    Create(gUL_Synonyms);
    Create(gUL_Thesaurus);
    Create(gUL_WWWSocket);
}

void CheckUL_SOAP() {
    if (!IsDE()) {
        return;
    }
    fw::HTTPSocket socket;
    fw::SOAPMethod method;
    const std::string root = "http://" + ServiceHosts::Get().wortschatz;
    method.methodNamespace = root;
    method.url = root + "/axis/services/Baseform";
    method.action = method.url;
    method.timeout = kPingTimeOutSeconds;
    method.UseSocket(socket);
    const auto result = method.Invoke("ping");
    const bool ready = result && fw::EqualsIgnoreCase(result->Result("pingReturn"), kPingReady);
    gUL_UseWWW = ready ? 2 : 1;
}

}  // namespace DIC
