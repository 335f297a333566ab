// The entries of a result list as case keys, so that "already in the list, ignoring case" costs
// one look-up instead of a walk over the list: a long reply must not make its reader quadratic.
// The index follows appends made through it; when the list's size shows that other code changed
// the list, it is built again. Main event loop or a pass's cooperative thread; the object lives
// for one reply or pass.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class ReplyBudget;

class WordListIndex {
  public:
    explicit WordListIndex(std::vector<std::string>& list);

    bool Contains(std::string_view word);
    // Appends `word` of a reply to the list unless it holds it already or the word does not fit
    // into the reply's budget; true when appended.
    bool AppendIfAbsent(const std::string& word, ReplyBudget& budget);
    // Appends without the test (a list that may hold duplicates still keeps its index).
    void Append(const std::string& word);

  private:
    void Sync();

    std::vector<std::string>& list_;
    std::unordered_set<std::string> keys_;
    size_t indexed_ = 0;
};
