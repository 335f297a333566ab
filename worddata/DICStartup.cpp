// The word store's start-up: the language of the run, loading its word files and making the six
// long-lived online clients; and the word service's probe. Apart from the rest of DIC, so that
// what reads the word files alone (the fuzz targets) links without the online clients.
#include <memory>

#include "framework/application.h"
#include "framework/soap.h"
#include "framework/text.h"
#include "framework/variant.h"
#include "sources/ServiceHosts.h"
#include "sources/UL_Baseform.h"
#include "sources/UL_ListClients.h"
#include "sources/UL_WWWSocket.h"
#include "sources/WordNetSocket.h"
#include "worddata/DIC.h"
#include "worddata/PREFS.h"

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

// The language the edition names, else the stored preference, else the localized default, which
// is then stored so that later starts read it back.
std::string ChooseLanguage() {
    const std::string version = fw::LongVersion();
    if (fw::InStr(version, "Deutsch") > 0) {
        return "DE";
    }
    if (fw::InStr(version, "English") > 0) {
        return "EN";
    }
    const fw::Variant stored = PREFS::Retrieve("DicLanguage");
    if (!stored.IsNil()) {
        return stored.StringValue();
    }
    const std::string language = cLanguageDefault();
    PREFS::Store("DicLanguage", fw::Variant(language));
    return language;
}

}  // namespace

bool Initialize() {
    gDE = IsDBExisting("DE");
    gEN = IsDBExisting("EN");
    gSelectedLanguage = ChooseLanguage();
    const bool available = (gEN && IsEN()) || (gDE && IsDE());
    const bool loaded = available && LoadDB(gSelectedLanguage) && LoadWL(gSelectedLanguage);
    CreateOnlineClients();
    return loaded;
}

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
