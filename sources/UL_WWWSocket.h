// The portal-page reader of the German word service, used instead of the SOAP clients when the
// service's ping failed: one GET of the HTML portal page per Check; every entry block of the page
// gives a base form with its word class, subject areas, synonyms, a hypernym and an adjective
// form, written into the controller's lists. Ends every Check with one
// PMC::FinishedULBaseformSearch (first try False). One object, DIC::gUL_WWWSocket, for the run;
// main event loop only.
#pragma once

#include <string>

#include "sources/UL_HTTPSocket.h"

class UL_WWWSocket : public UL_HTTPSocket {
  public:
    void Check(const std::string& word);

    // "http://" + the service host + the portal query of the word in Windows-1252, percent-encoded.
    static std::string PortalURL(const std::string& word);
    // Reads a page's content for the request word into PMC::gWordBaseform, gWordType,
    // gWordSachgebiete and gSynonymWords; the result is the found flag (a new base-form pair was
    // stored). Linear in the page, also for hostile pages. Needs no socket.
    static bool ReadPage(const std::string& content, const std::string& requestWord);
    // The seven umlaut and sharp-s entities replaced by their letters, byte for byte.
    static std::string ConvertUmlauts(const std::string& s);

  protected:
    void PageReceived(const std::string& url, int httpStatus, const fw::InternetHeaders& headers,
                      const std::string& content) override;
    bool AuthenticationRequired(const fw::InternetHeaders& headers, std::string& name,
                                std::string& password) override;
    void Error(int code) override;

  private:
    void ExecuteCheck(const std::string& word);
    void EndWithError();
};
