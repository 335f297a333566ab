#include "sources/UL_Baseform.h"

#include <unordered_set>

#include "framework/text.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "sources/ReplyBudget.h"
#include "windows/SearchWin.h"
#include "worddata/TT.h"

void UL_Baseform::Check(const std::string& word) {
    gFirstTry = true;
    ExecuteCheck(word);
}

void UL_Baseform::ExecuteCheck(const std::string& word) {
    gSearchWord = word;
    PMC::gWordBaseform.clear();
    PMC::gWordType.clear();
    PrepareWordServiceRequest("Baseform", {{"Wort", word}});
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeSingle);
    Post(WordServiceURL("Baseform"));
}

std::string UL_Baseform::DefineType(const std::string& code) {
    const std::pair<const char*, const std::string& (*)()> kTypes[] = {
        {"S", TT::REP_Noun}, {"N", TT::REP_Neuter},     {"A", TT::REP_Adjective},
        {"V", TT::REP_Verb}, {"VN", TT::REP_FirstName}, {"NN", TT::REP_LastName}};
    for (const auto& [known, text] : kTypes) {
        if (fw::EqualsIgnoreCase(code, known)) {
            return text();
        }
    }
    return code;
}

void UL_Baseform::ReadPairs(const std::string& content) {
    const std::vector<std::string> rows = WordServiceRows(ConvertResponseToUTF8(content));
    std::unordered_set<std::string> pairKeys;
    ReplyBudget budget;
    for (size_t i = 0; i + 1 < rows.size(); i += 2) {
        const std::string& baseform = rows[i];
        const std::string type = DefineType(rows[i + 1]);
        if (type != "-" && !type.empty() && pairKeys.insert(fw::CaseKey(baseform + type)).second &&
            budget.Admit({{&PMC::gWordBaseform, baseform}, {&PMC::gWordType, type}})) {
            PMC::gWordBaseform.push_back(baseform);
            PMC::gWordType.push_back(type);
        }
        fw::Yield();
    }
}

void UL_Baseform::PageReceived(const std::string&, int, const fw::InternetHeaders&,
                               const std::string& content) {
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeOff);
    ReadPairs(content);
    if (!PMC::gWordBaseform.empty()) {
        PMC::FinishedULBaseformSearch(false, true, gSearchWord, gFirstTry);
        return;
    }
    if (gFirstTry) {
        gFirstTry = false;
        ExecuteCheck(ChangeCase(gSearchWord));
        return;
    }
    if (IsConnected()) {
        Close();
    }
    PMC::FinishedULBaseformSearch(false, false, gSearchWord, false);
}

void UL_Baseform::EndWithError() {
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeOff);
    if (IsConnected()) {
        Close();
    }
    PMC::FinishedULBaseformSearch(true, false, gSearchWord, gFirstTry);
}

bool UL_Baseform::AuthenticationRequired(const fw::InternetHeaders&, std::string&, std::string&) {
    EndWithError();
    return false;
}

void UL_Baseform::Error(int) {
    EndWithError();
}
