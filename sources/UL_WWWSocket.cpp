// The portal page is read block by block: each entry heading starts a block that ends before the
// next end marker. Blocks of headings that share one end marker overlap, so a hostile page with
// many headings and one marker far off would make a naive reader search the same text again for
// every heading. Each block pattern therefore keeps the first match it found from some place of
// the whole page: for a later block it still is the first match while it starts inside the block,
// and it belongs to the block when it also ends inside it (each pattern either stops at a "<" or
// ends in a fixed tag that the block's end marker cannot be part of, so no shorter match hides
// inside the block). Every search then covers new text, and a list text already read for the
// previous block is not read again (it could add nothing new: nothing leaves the lists meanwhile).
#include "sources/UL_WWWSocket.h"

#include <optional>
#include <unordered_set>

#include "framework/encoding.h"
#include "framework/regex.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/timer.h"
#include "search/PMC.h"
#include "sources/ServiceHosts.h"
#include "sources/WordListIndex.h"
#include "windows/SearchWin.h"

namespace {

constexpr std::string_view kEndMarker = "</table><P>";
constexpr unsigned char kLastNounInitial = 90;  // "Z"

// A block pattern searched in the whole page, with its last match kept (see above).
class BlockPattern {
  public:
    BlockPattern(const char* pattern, const std::string& page) {
        regex_.SearchPattern = pattern;
        match_ = regex_.Search(page, 0);
        from_ = 0;
    }

    // The first match inside [start, end) of the page, or nullptr.
    const fw::RegExMatch* FirstIn(long start, long end) {
        if (start < from_ || (match_ && match_->SubExpressionStartB(0) < start)) {
            match_ = regex_.SearchFrom(start);
            from_ = start;
        }
        if (!match_) {
            return nullptr;
        }
        const long matchStart = match_->SubExpressionStartB(0);
        const long matchEnd = matchStart + static_cast<long>(match_->SubExpressionString(0).size());
        return matchEnd <= end ? &*match_ : nullptr;
    }

  private:
    fw::RegEx regex_;
    std::optional<fw::RegExMatch> match_;
    long from_ = 0;
};

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

class PortalPageReader {
  public:
    PortalPageReader(const std::string& page, const std::string& requestWord)
        : page_(page),
          requestWord_(requestWord),
          wordClass_("(<TD>Wortart: )([^<]+)", page),
          baseform_("(<LI>Grundform:)(.+?)([a-zA-Z&#0-9; ]+?)(</A>)", page),
          subjects_("(<B>Sachgebiet: )(.+?)(<TR><TD><B>)", page),
          synonyms_("(>Synonyme:)(.+?)(</UL>)", page),
          hypernym_("(<LI>ist ein)(.+?)([a-zA-Z&#0-9; ]+?)(</A>)", page),
          adjective_("(<LI>-lich-Form von:)(.+?)([a-zA-Z&#0-9; ]+?)(</A>)", page),
          sachgebiete_(PMC::gWordSachgebiete),
          synonymWords_(PMC::gSynonymWords) {
        item_.SearchPattern = "(>)([a-zA-Z&#0-9; ]+?)(<)";
    }

    bool Read() {
        fw::RegEx heading;
        heading.SearchPattern = "(<P><B>Wort: </B> )([^<]+)";
        for (auto match = heading.Search(page_, 0); match; match = heading.Search()) {
            const long start = match->SubExpressionStartB(0);
            ReadBlock(start, BlockEnd(start), match->SubExpressionString(2));
            fw::Yield();
        }
        return found_;
    }

  private:
    long BlockEnd(long start) {
        if (markerFrom_ < 0 || start < markerFrom_ ||
            (marker_ != std::string::npos && static_cast<long>(marker_) < start)) {
            marker_ = page_.find(kEndMarker, static_cast<size_t>(start));
            markerFrom_ = start;
        }
        return marker_ == std::string::npos ? static_cast<long>(page_.size())
                                            : static_cast<long>(marker_);
    }

    void ReadBlock(long start, long end, const std::string& headword) {
        std::string baseform = UL_WWWSocket::ConvertUmlauts(headword);
        if (const auto* match = baseform_.FirstIn(start, end)) {
            baseform = UL_WWWSocket::ConvertUmlauts(match->SubExpressionString(3));
        }
        std::string wordClass = IsNounInitial(baseform) ? "Substantiv" : "?";
        if (const auto* match = wordClass_.FirstIn(start, end)) {
            wordClass = UL_WWWSocket::ConvertUmlauts(match->SubExpressionString(2));
        }
        if (pairKeys_.insert(fw::CaseKey(baseform + wordClass)).second) {
            PMC::gWordBaseform.push_back(baseform);
            PMC::gWordType.push_back(wordClass);
            found_ = true;
        }
        if (const auto* match = subjects_.FirstIn(start, end)) {
            ReadItemsOnce(*match, subjectsRead_,
                          [this](const std::string& item) { sachgebiete_.AppendIfAbsent(item); });
        }
        if (const auto* match = synonyms_.FirstIn(start, end)) {
            ReadItemsOnce(*match, synonymsRead_,
                          [this](const std::string& item) { AddSynonym(item); });
        }
        if (!synonymsSorted_) {
            fw::SortList(PMC::gSynonymWords);
            synonymsSorted_ = true;
        }
        if (const auto* match = hypernym_.FirstIn(start, end)) {
            sachgebiete_.AppendIfAbsent(match->SubExpressionString(3));
        }
        if (const auto* match = adjective_.FirstIn(start, end)) {
            AddSynonym(match->SubExpressionString(3));
        }
    }

    // Runs the item pattern over the list text of `match` unless that very match was read for the
    // block before.
    template <class Add>
    void ReadItemsOnce(const fw::RegExMatch& match, long& lastRead, Add add) {
        const long at = match.SubExpressionStartB(0);
        if (at == lastRead) {
            return;
        }
        lastRead = at;
        const std::string list = match.SubExpressionString(2);
        for (auto item = item_.Search(list, 0); item; item = item_.Search()) {
            add(UL_WWWSocket::ConvertUmlauts(item->SubExpressionString(2)));
            fw::Yield();
        }
    }

    void AddSynonym(const std::string& word) {
        if (!fw::EqualsIgnoreCase(word, requestWord_) && PMC::CheckWord(word) &&
            synonymWords_.AppendIfAbsent(word)) {
            synonymsSorted_ = false;
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
    size_t marker_ = std::string::npos;
    long markerFrom_ = -1;
    long subjectsRead_ = -1;
    long synonymsRead_ = -1;
    bool synonymsSorted_ = false;  // a sort now would not change the list
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
