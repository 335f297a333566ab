#include "sources/WordListIndex.h"

#include "framework/text.h"
#include "sources/ReplyBudget.h"

WordListIndex::WordListIndex(std::vector<std::string>& list) : list_(list) {
    Sync();
}

void WordListIndex::Sync() {
    if (indexed_ == list_.size()) {
        return;
    }
    keys_.clear();
    for (const std::string& entry : list_) {
        keys_.insert(fw::CaseKey(entry));
    }
    indexed_ = list_.size();
}

bool WordListIndex::Contains(std::string_view word) {
    Sync();
    return keys_.count(fw::CaseKey(word)) > 0;
}

bool WordListIndex::AppendIfAbsent(const std::string& word, ReplyBudget& budget) {
    if (Contains(word) || !budget.Admit(list_, word)) {
        return false;
    }
    Append(word);
    return true;
}

void WordListIndex::Append(const std::string& word) {
    Sync();
    list_.push_back(word);
    keys_.insert(fw::CaseKey(word));
    indexed_ = list_.size();
}
