// What one reply of an online source may add to the controller's lists. A real reply adds a few
// dozen entries: the most are the 191 words named by the 75 senses of "break" in the lexical
// database, with 8.7 KB of text, and the word service answers at most 50 rows. A hostile reply
// of a megabyte could fill the lists with tens of thousands of entries or with words of a
// hundred thousand letters, and every report build lays out all it shows (for a run of letters
// without a blank, Qt's line breaking is quadratic). The word files are no safer: a local pass
// holds the words it takes from them to the same budget, each list to its own. One object per
// reply or list; the main event loop or a pass's cooperative thread.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class ReplyBudget {
  public:
    static constexpr size_t kEntriesPerList = 256;
    static constexpr size_t kBytes = 16384;     // of text, over all lists
    static constexpr size_t kLongestRun = 200;  // bytes without a blank: twice the longest entry
                                                // of the word lists

    using List = std::vector<std::string>;

    // A local pass reads more rows than a reply brings and caps them itself: it raises the limit.
    explicit ReplyBudget(size_t entriesPerList = kEntriesPerList)
        : entriesPerList_(entriesPerList) {}

    // Whether the text could be a word, a list of words or a gloss of a real page: it holds no
    // run of more than kLongestRun bytes without a blank.
    static bool IsPlausible(std::string_view text);

    // Whether the entries, one for each of the lists, fit into what the reply may still add;
    // true charges them. Entries that belong together (a base form and its word class) are
    // admitted together or not at all.
    bool Admit(std::initializer_list<std::pair<const List*, std::string_view>> entries);
    bool Admit(const List& list, std::string_view entry) { return Admit({{&list, entry}}); }

  private:
    size_t entriesPerList_;
    std::unordered_map<const List*, size_t> entries_;
    size_t bytes_ = 0;
};
