// The base-form client of the German word service: asks the SOAP operation Baseform for a word's
// base forms and word classes, retries once with the first letter's case changed when the first
// reply has none, and ends every Check with one PMC::FinishedULBaseformSearch. One object,
// DIC::gUL_Baseform, for the run; main event loop only.
#pragma once

#include <string>

#include "sources/UL_HTTPSocket.h"

class UL_Baseform : public UL_HTTPSocket {
  public:
    void Check(const std::string& word);

    // The reading of a reply's content: decoded, its rows taken as (base form, code) pairs, each
    // new pair (ignoring case) appended to PMC::gWordBaseform and PMC::gWordType. Pure but for
    // those two lists; needs no socket.
    static void ReadPairs(const std::string& content);
    // The word-class text of a service code (ignoring case); an unknown code as it is.
    static std::string DefineType(const std::string& code);

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
