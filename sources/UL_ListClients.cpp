#include "sources/UL_ListClients.h"

#include "framework/text.h"
#include "framework/threads.h"
#include "search/PMC.h"
#include "sources/ReplyBudget.h"
#include "sources/WordListIndex.h"

const UL_ListClient::Family UL_Synonyms::kFamily{"Synonyms", true, &PMC::gSynonymWords, false,
                                                 PMC::FinishedULSynonymsSearch};
const UL_ListClient::Family UL_Thesaurus::kFamily{"Thesaurus", true, &PMC::gSynonymWords, false,
                                                  PMC::FinishedULThesaurusSearch};
const UL_ListClient::Family UL_Sachgebiete::kFamily{"Sachgebiet", false, &PMC::gWordSachgebiete,
                                                    true, PMC::FinishedULSachgebieteSearch};

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
    Post(WordServiceURL(family_.operation));
}

bool UL_ListClient::ReadRows(const Family& family, const std::string& content,
                             const std::string& requestWord) {
    WordListIndex list(*family.target);
    ReplyBudget budget;
    bool found = false;
    for (std::string row : WordServiceRows(ConvertResponseToUTF8(content))) {
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
    const bool found = ReadRows(family_, content, gSearchWord);
    family_.finished(false, found, gSearchWord);
}

void UL_ListClient::EndWithError() {
    if (IsConnected()) {
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
