#include "sources/WordNetSocket.h"

#include <unordered_set>

#include "framework/encoding.h"
#include "framework/regex.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "sources/ReplyBudget.h"
#include "sources/ServiceHosts.h"
#include "windows/SearchWin.h"
#include "worddata/TT.h"

namespace {

// The page as UTF-8 text: its bytes read as Windows-1252, then every percent escape decoded; what
// the decoding makes of invalid UTF-8 is replaced, since the report counts characters.
std::string DecodePage(const std::string& content) {
    return fw::ReplaceInvalidUTF8(fw::DecodeURLComponent(fw::ConvertFromWindows1252(content)));
}

// From the first "<h3>" on, or the whole page without one.
std::string FromFirstHeading(const std::string& page) {
    const int64_t heading = fw::InStr(page, "<h3>");
    return heading > 0 ? fw::Mid(page, heading) : page;
}

class SensesReader {
  public:
    SensesReader() {
        marker_.SearchPattern = "\\([nv]\\)|\\(adj\\)";
        gloss_.SearchPattern = "(\\()(.+)(\\))";
        word_.SearchPattern = "(>)([a-zA-Z][a-zA-Z -]*)(<)";
    }

    void ReadItem(const std::string& item) {
        std::string wordClass = TT::REP_UnknownType();
        long glossStart = 0;
        if (const auto marker = marker_.Search(item, 0)) {
            wordClass = WordNetSocket::DefineType(marker->SubExpressionString(0));
            glossStart = marker->SubExpressionStartB(0) +
                         static_cast<long>(marker->SubExpressionString(0).size());
        }
        const auto gloss = gloss_.Search(item, glossStart);
        const std::string glossText = gloss ? gloss->SubExpressionString(2) : std::string();
        std::string words;
        for (auto match = word_.Search(item, 0); match; match = word_.Search()) {
            const std::string word = match->SubExpressionString(2);
            if (PMC::CheckWord(word) && ReplyBudget::IsPlausible(word)) {
                words += (words.empty() ? "" : ", ") + word;
                if (budget_.Admit(PMC::gForbiddenSynonyms, word)) {
                    PMC::gForbiddenSynonyms.push_back(word);
                }
            }
            fw::Yield();
        }
        if (!words.empty() &&
            rowKeys_.insert(fw::CaseKey(wordClass + ":" + words + ":" + glossText)).second &&
            budget_.Admit({{&PMC::gWordType, wordClass},
                           {&PMC::gWordBaseform, words},
                           {&PMC::gWordSachgebiete, glossText}})) {
            PMC::gWordType.push_back(wordClass);
            PMC::gWordBaseform.push_back(words);
            PMC::gWordSachgebiete.push_back(glossText);
        }
    }

  private:
    fw::RegEx marker_;
    fw::RegEx gloss_;
    fw::RegEx word_;
    std::unordered_set<std::string> rowKeys_;
    ReplyBudget budget_;
};

}  // namespace

std::string WordNetSocket::DefineType(const std::string& marker) {
    if (fw::EqualsIgnoreCase(marker, "(n)")) {
        return TT::REP_Noun();
    }
    if (fw::EqualsIgnoreCase(marker, "(adj)")) {
        return TT::REP_Adjective();
    }
    if (fw::EqualsIgnoreCase(marker, "(v)")) {
        return TT::REP_Verb();
    }
    return marker;
}

std::string WordNetSocket::QueryURL(const std::string& word) {
    return "http://" + ServiceHosts::Get().wordNet +
           "/perl/webwn?o2=&o0=&o7=&o5=&o1=1&o6=&o4=&o3=&s=" + fw::EncodeURLComponent(word);
}

bool WordNetSocket::ReadPage(const std::string& content) {
    const std::string decoded = DecodePage(content);
    if (fw::InStr(decoded, "<h3>Your search did not return any results.</h3>") > 0) {
        return false;
    }
    const std::string page = FromFirstHeading(decoded);
    SensesReader senses;
    fw::RegEx items;
    items.SearchPattern = "<li>.+</li>";
    for (auto item = items.Search(page, 0); item; item = items.Search()) {
        senses.ReadItem(item->SubExpressionString(0));
        fw::Yield();
    }
    return !PMC::gWordBaseform.empty();
}

void WordNetSocket::Check(const std::string& word) {
    gSearchWord = word;
    PMC::gWordBaseform.clear();
    PMC::gWordType.clear();
    PMC::gWordSachgebiete.clear();
    PMC::gForbiddenSynonyms.clear();
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeSingle);
    Get(QueryURL(word));
}

void WordNetSocket::PageReceived(const std::string&, int, const fw::InternetHeaders&,
                                 const std::string& content) {
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeOff);
    const bool found = ReadPage(content);
    // Closed before the callback: a search started inside the callback's report may already have
    // sent its own request on this object.
    if (IsConnected()) {
        Close();
    }
    PMC::FinishedWordNetSearch(false, found, gSearchWord);
}

void WordNetSocket::EndWithError() {
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeOff);
    if (IsConnected()) {
        Close();
    }
    PMC::FinishedWordNetSearch(true, false, gSearchWord);
}

bool WordNetSocket::AuthenticationRequired(const fw::InternetHeaders&, std::string&, std::string&) {
    EndWithError();
    return false;
}

void WordNetSocket::Error(int) {
    EndWithError();
}
