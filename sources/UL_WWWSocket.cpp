// The portal page is read block by block. A block starts at an entry heading and ends before the
// next end marker, or before the next heading when that comes first: on the service's pages each
// entry ends with the marker before the next heading, and on a page whose headings share one
// marker far off (a hostile page) every block would otherwise run over the rest of the page and
// the reading grow with the square of its size. So the blocks lie apart, each pattern is searched
// once in its own block, and every byte is searched a fixed number of times. The synonyms are
// sorted once, after the last block: the sort is stable and nothing runs in between on the main
// loop, so the list ends as a sort after every block would leave it (only the last block's
// adjective form stays behind), without sorting a growing list once per block.
#include "sources/UL_WWWSocket.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "framework/encoding.h"
#include "framework/regex.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "sources/ReplyBudget.h"
#include "sources/ServiceHosts.h"
#include "sources/WordListIndex.h"
#include "windows/SearchWin.h"

namespace {

constexpr std::string_view kEndMarker = "</table><P>";
constexpr unsigned char kLastNounInitial = 90;  // "Z"

// The page as one line of UTF-8: every CR and LF removed, Windows-1252 converted.
std::string NormalisePage(const std::string& content) {
    std::string line;
    line.reserve(content.size());
    size_t copied = 0;  // the content is copied up to here
    for (size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\r' || content[i] == '\n') {
            line.append(content, copied, i - copied);
            copied = i + 1;
        }
    }
    line.append(content, copied);
    return fw::ConvertFromWindows1252(line);
}

bool IsNounInitial(const std::string& word) {
    return !word.empty() && static_cast<unsigned char>(word[0]) <= kLastNounInitial;
}

// A block pattern, compiled once per page. Each begins with its label as a group of plain text: a
// block without the label is passed over without running the pattern (a hostile page holds
// thousands of blocks).
class BlockPattern {
  public:
    explicit BlockPattern(const std::string& pattern)
        : label_(pattern.substr(1, pattern.find(')') - 1)) {
        regex_.SearchPattern = pattern;
    }

    // Sub-expression `index` of the first match in the block, or nothing.
    std::optional<std::string> In(const std::string& block, int index) {
        if (block.find(label_) == std::string::npos) {
            return std::nullopt;
        }
        const auto match = regex_.Search(block, 0);
        return match ? std::optional(match->SubExpressionString(index)) : std::nullopt;
    }

  private:
    const std::string label_;
    fw::RegEx regex_;
};

class PortalPageReader {
  public:
    PortalPageReader(const std::string& page, const std::string& requestWord)
        : page_(page),
          requestWord_(requestWord),
          wordClass_("(<TD>Wortart: )([^<]+)"),
          baseform_("(<LI>Grundform:)(.+?)([a-zA-Z&#0-9; ]+?)(</A>)"),
          subjects_("(<B>Sachgebiet: )(.+?)(<TR><TD><B>)"),
          synonyms_("(>Synonyme:)(.+?)(</UL>)"),
          hypernym_("(<LI>ist ein)(.+?)([a-zA-Z&#0-9; ]+?)(</A>)"),
          adjective_("(<LI>-lich-Form von:)(.+?)([a-zA-Z&#0-9; ]+?)(</A>)"),
          sachgebiete_(PMC::gWordSachgebiete),
          synonymWords_(PMC::gSynonymWords) {
        item_.SearchPattern = "(>)([a-zA-Z&#0-9; ]+?)(<)";
    }

    bool Read() {
        fw::RegEx heading;
        heading.SearchPattern = "(<P><B>Wort: </B> )([^<]+)";
        bool anyBlock = false;
        for (auto match = heading.Search(page_, 0); match;) {
            const size_t start = static_cast<size_t>(match->SubExpressionStartB(0));
            const std::string headword = match->SubExpressionString(2);
            match = heading.Search();
            const size_t next =
                match ? static_cast<size_t>(match->SubExpressionStartB(0)) : page_.size();
            const size_t end = std::min(BlockEnd(start), next);
            ReadBlock(page_.substr(start, end - start), headword);
            anyBlock = true;
            fw::Yield();
        }
        if (anyBlock) {
            SortSynonyms();
        }
        return found_;
    }

  private:
    // Where the first end marker from `start` on lies (the page's end without one). The marker
    // found for one block still serves the next blocks that start before it.
    size_t BlockEnd(size_t start) {
        if (!markerSearched_ || (marker_ != std::string::npos && marker_ < start)) {
            marker_ = page_.find(kEndMarker, start);
            markerSearched_ = true;
        }
        return std::min(marker_, page_.size());
    }

    void ReadBlock(const std::string& block, const std::string& headword) {
        std::string baseform = UL_WWWSocket::ConvertUmlauts(headword);
        if (const auto form = baseform_.In(block, 3)) {
            baseform = UL_WWWSocket::ConvertUmlauts(*form);
        }
        std::string wordClass = IsNounInitial(baseform) ? "Substantiv" : "?";
        if (const auto text = wordClass_.In(block, 2)) {
            wordClass = UL_WWWSocket::ConvertUmlauts(*text);
        }
        if (pairKeys_.insert(fw::CaseKey(baseform + wordClass)).second &&
            budget_.Admit({{&PMC::gWordBaseform, baseform}, {&PMC::gWordType, wordClass}})) {
            PMC::gWordBaseform.push_back(baseform);
            PMC::gWordType.push_back(wordClass);
            found_ = true;
        }
        if (const auto list = subjects_.In(block, 2)) {
            ReadItems(*list, [this](const std::string& item) {
                sachgebiete_.AppendIfAbsent(item, budget_);
            });
        }
        if (const auto list = synonyms_.In(block, 2)) {
            ReadItems(*list, [this](const std::string& item) { AddSynonym(item); });
        }
        if (const auto hypernym = hypernym_.In(block, 3)) {
            sachgebiete_.AppendIfAbsent(*hypernym, budget_);
        }
        adjectiveLast_ = false;
        if (const auto adjective = adjective_.In(block, 3)) {
            adjectiveLast_ = AddSynonym(*adjective);
        }
    }

    template <class Add>
    void ReadItems(const std::string& list, Add add) {
        for (auto item = item_.Search(list, 0); item; item = item_.Search()) {
            add(UL_WWWSocket::ConvertUmlauts(item->SubExpressionString(2)));
            fw::Yield();
        }
    }

    bool AddSynonym(const std::string& word) {
        return !fw::EqualsIgnoreCase(word, requestWord_) && PMC::CheckWord(word) &&
               synonymWords_.AppendIfAbsent(word, budget_);
    }

    // The sort that follows every block's synonyms, before its adjective form.
    void SortSynonyms() {
        PMC::WordList& synonyms = PMC::gSynonymWords;
        std::string adjective;
        if (adjectiveLast_) {
            adjective = std::move(synonyms.back());
            synonyms.pop_back();
        }
        fw::SortList(synonyms);
        if (adjectiveLast_) {
            synonyms.push_back(std::move(adjective));
        }
    }

    const std::string& page_;
    const std::string& requestWord_;
    BlockPattern wordClass_;
    BlockPattern baseform_;
    BlockPattern subjects_;
    BlockPattern synonyms_;
    BlockPattern hypernym_;
    BlockPattern adjective_;
    fw::RegEx item_;
    WordListIndex sachgebiete_;
    WordListIndex synonymWords_;
    std::unordered_set<std::string> pairKeys_;
    ReplyBudget budget_;
    size_t marker_ = std::string::npos;
    bool markerSearched_ = false;
    bool adjectiveLast_ = false;  // the last block appended its adjective form
    bool found_ = false;
};

}  // namespace

std::string UL_WWWSocket::ConvertUmlauts(const std::string& s) {
    std::string out = s;
    for (const auto& [entity, letter] :
         {std::pair{"&Auml;", "Ä"}, std::pair{"&Ouml;", "Ö"}, std::pair{"&Uuml;", "Ü"},
          std::pair{"&auml;", "ä"}, std::pair{"&ouml;", "ö"}, std::pair{"&uuml;", "ü"},
          std::pair{"&szlig;", "ß"}}) {
        if (out.find('&') == std::string::npos) {
            break;
        }
        out = fw::ReplaceAllB(out, entity, letter);
    }
    return out;
}

std::string UL_WWWSocket::PortalURL(const std::string& word) {
    return "http://" + ServiceHosts::Get().wortschatz + "/cgi-portal/de/wort_www?site=10&Wort=" +
           fw::EncodeURLComponent(fw::ConvertToWindows1252(word));
}

bool UL_WWWSocket::ReadPage(const std::string& content, const std::string& requestWord) {
    const std::string page = NormalisePage(content);
    return PortalPageReader(page, requestWord).Read();
}

void UL_WWWSocket::Check(const std::string& word) {
    gFirstTry = true;
    ExecuteCheck(word);
}

void UL_WWWSocket::ExecuteCheck(const std::string& word) {
    gSearchWord = word;
    PMC::gWordBaseform.clear();
    PMC::gWordType.clear();
    PMC::gWordSachgebiete.clear();
    const std::string url = PortalURL(word);
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeSingle);
    Get(url);
}

void UL_WWWSocket::PageReceived(const std::string&, int, const fw::InternetHeaders&,
                                const std::string& content) {
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeOff);
    const bool found = ReadPage(content, gSearchWord);
    PMC::FinishedULBaseformSearch(false, found, gSearchWord, false);
}

void UL_WWWSocket::EndWithError() {
    SearchWin::Get().SocketTimeOut.SetMode(fw::Timer::ModeOff);
    if (IsConnected()) {
        Close();
    }
    PMC::FinishedULBaseformSearch(true, false, gSearchWord, false);
}

bool UL_WWWSocket::AuthenticationRequired(const fw::InternetHeaders&, std::string&, std::string&) {
    EndWithError();
    return false;
}

void UL_WWWSocket::Error(int) {
    EndWithError();
}
