// The English lexical-database reader: one GET of the database's query page per Check; every list
// item of the result page becomes one sense row (word class, words, gloss) in the controller's
// parallel lists, and every word it names a forbidden synonym. Ends every Check with one
// PMC::FinishedWordNetSearch. Derives from the framework's HTTP client directly. One object,
// DIC::gWordNet, for the run; main event loop only.
#pragma once

#include <string>

#include "framework/http.h"

class WordNetSocket : public fw::HTTPSocket {
  public:
    // The word of the request under way, handed to the completion callback.
    std::string gSearchWord;

    void Check(const std::string& word);

    // "http://" + the lexical-database host + the query of the word, percent-encoded UTF-8.
    static std::string QueryURL(const std::string& word);
    // Reads a page's content into PMC::gWordType, gWordBaseform, gWordSachgebiete and
    // gForbiddenSynonyms; the result is the found flag (some sense row stored). Text that is no
    // valid UTF-8 after the percent-decoding has its invalid sequences replaced by U+FFFD.
    // Needs no socket.
    static bool ReadPage(const std::string& content);
    // The word-class text of a marker (ignoring case): "(n)", "(adj)", "(v)"; another as it is.
    static std::string DefineType(const std::string& marker);

  protected:
    void PageReceived(const std::string& url, int httpStatus, const fw::InternetHeaders& headers,
                      const std::string& content) override;
    bool AuthenticationRequired(const fw::InternetHeaders& headers, std::string& name,
                                std::string& password) override;
    void Error(int code) override;

  private:
    void EndWithError();
};
