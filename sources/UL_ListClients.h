// The three follow-up clients of the German word service, one family: UL_Synonyms and
// UL_Thesaurus add a known word's synonyms to PMC::gSynonymWords, UL_Sachgebiete fills
// PMC::gWordSachgebiete with its subject areas. Each sends one SOAP request per Check, reads the
// reply rows for the current search word only, and ends with one completion callback, an error
// one when no reply has come within the search window's time-out. One object of each for the run
// (DIC); main event loop only.
#pragma once

#include <string>
#include <vector>

#include "framework/timer.h"
#include "sources/UL_HTTPSocket.h"

class UL_ListClient : public UL_HTTPSocket {
  public:
    // What tells the three apart.
    struct Family {
        const char* operation;             // "Synonyms": urn:Synonyms, /axis/services/Synonyms
        bool limited;                      // sends "Limit" = "50" before the word
        std::vector<std::string>* target;  // the controller's list the rows go to
        bool subjectAreas;                 // rows are subject areas: emptied list, " / " form
        bool taggedWords;                  // each vector holds a word and its word-class tag
        void (*finished)(bool isError, bool found, const std::string& word);
    };

    explicit UL_ListClient(const Family& family) : family_(family) {}

    void Check(const std::string& word);

    // Reads a reply's content for the request word: each row of the current search word
    // (PMC::gSearchWord equal to `requestWord`, ignoring case) that the family accepts is
    // appended to its list. The result is the found flag: some row was read for the current word.
    // Needs no socket.
    static bool ReadRows(const Family& family, const std::string& content,
                         const std::string& requestWord);

  protected:
    void PageReceived(const std::string& url, int httpStatus, const fw::InternetHeaders& headers,
                      const std::string& content) override;
    bool AuthenticationRequired(const fw::InternetHeaders& headers, std::string& name,
                                std::string& password) override;
    void Error(int code) override;

  private:
    void ExecuteCheck(const std::string& word);
    void EndWithError();
    void TimedOut();

    const Family family_;
    fw::Timer timeOut_{[this] { TimedOut(); }};
};

class UL_Synonyms : public UL_ListClient {
  public:
    static const Family kFamily;
    UL_Synonyms() : UL_ListClient(kFamily) {}
};

class UL_Thesaurus : public UL_ListClient {
  public:
    static const Family kFamily;
    UL_Thesaurus() : UL_ListClient(kFamily) {}
};

class UL_Sachgebiete : public UL_ListClient {
  public:
    static const Family kFamily;
    UL_Sachgebiete() : UL_ListClient(kFamily) {}
};
