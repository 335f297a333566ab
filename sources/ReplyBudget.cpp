#include "sources/ReplyBudget.h"

bool ReplyBudget::IsPlausible(std::string_view text) {
    size_t run = 0;
    for (const char c : text) {
        run = c == ' ' ? 0 : run + 1;
        if (run > kLongestRun) {
            return false;
        }
    }
    return true;
}

bool ReplyBudget::Admit(std::initializer_list<std::pair<const List*, std::string_view>> entries) {
    size_t bytes = bytes_;
    for (const auto& [list, entry] : entries) {
        if (!IsPlausible(entry) || entries_[list] >= entriesPerList_) {
            return false;
        }
        bytes += entry.size();
    }
    if (bytes > kBytes) {
        return false;
    }
    for (const auto& admitted : entries) {
        ++entries_[admitted.first];
    }
    bytes_ = bytes;
    return true;
}
