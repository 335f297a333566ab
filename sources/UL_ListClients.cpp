#include "sources/UL_ListClients.h"

#include "framework/text.h"
#include "framework/threads.h"
#include "search/PMC.h"
#include "sources/ReplyBudget.h"
#include "sources/WordListIndex.h"
#include "windows/SearchWin.h"

const UL_ListClient::Family UL_Synonyms::kFamily{.operation = "Synonyms",
                                                 .limited = true,
                                                 .target = &PMC::gSynonymWords,
                                                 .subjectAreas = false,
                                                 .taggedWords = true,
                                                 .finished = PMC::FinishedULSynonymsSearch};
const UL_ListClient::Family UL_Thesaurus::kFamily{.operation = "Thesaurus",
                                                  .limited = true,
                                                  .target = &PMC::gSynonymWords,
                                                  .subjectAreas = false,
                                                  .taggedWords = false,
                                                  .finished = PMC::FinishedULThesaurusSearch};
const UL_ListClient::Family UL_Sachgebiete::kFamily{.operation = "Sachgebiet",
                                                    .limited = false,
                                                    .target = &PMC::gWordSachgebiete,
                                                    .subjectAreas = true,
                                                    .taggedWords = false,
                                                    .finished = PMC::FinishedULSachgebieteSearch};

void UL_ListClient::Check(const std::string& word) {
    ExecuteCheck(word);
}

void UL_ListClient::ExecuteCheck(const std::string& word) {
    gSearchWord = word;
    if (family_.subjectAreas) {
        family_.target->clear();
    }
    std::vector<Parameter> parameters;
    if (family_.limited) {
        parameters.emplace_back("Limit", "50");
    }
    parameters.emplace_back("Wort", word);
    PrepareWordServiceRequest(family_.operation, parameters);
    // A server that accepts and never answers would keep the search open for good.
    timeOut_.SetPeriod(SearchWin::Get().SocketTimeOut.Period());
    timeOut_.SetMode(fw::Timer::ModeSingle);
    Post(WordServiceURL(family_.operation));
}

bool UL_ListClient::ReadRows(const Family& family, const std::string& content,
                             const std::string& requestWord) {
    WordListIndex list(*family.target);
    ReplyBudget budget;
    bool found = false;
    const std::string decoded = ConvertResponseToUTF8(content);
    for (std::string row :
         family.taggedWords ? WordServiceVectorHeads(decoded) : WordServiceRows(decoded)) {
        found = true;
        if (!fw::EqualsIgnoreCase(PMC::gSearchWord, requestWord)) {
            return false;  // a reply of an earlier search
        }
        if (family.subjectAreas) {
            row = fw::ReplaceAllB(fw::ReplaceAllB(row, " / ", "/"), "/", " / ");
            list.AppendIfAbsent(row, budget);
        } else if (!row.empty() && !fw::EqualsIgnoreCase(row, requestWord) &&
                   PMC::CheckWord(row)) {  // an empty row is no synonym
            list.AppendIfAbsent(row, budget);
        }
        fw::Yield();
    }
    return found;
}

void UL_ListClient::PageReceived(const std::string&, int, const fw::InternetHeaders&,
                                 const std::string& content) {
    timeOut_.SetMode(fw::Timer::ModeOff);
    const bool found = ReadRows(family_, content, gSearchWord);
    family_.finished(false, found, gSearchWord);
}

void UL_ListClient::EndWithError() {
    timeOut_.SetMode(fw::Timer::ModeOff);
    if (InFlight()) {
        Close();
    }
    family_.finished(true, false, gSearchWord);
}

bool UL_ListClient::AuthenticationRequired(const fw::InternetHeaders&, std::string&, std::string&) {
    EndWithError();
    return false;
}

void UL_ListClient::Error(int) {
    EndWithError();
}

// A request closed by an abort ends without a callback, and so does its time-out.
void UL_ListClient::TimedOut() {
    if (InFlight()) {
        EndWithError();
    }
}
