// The context menu of the search field and of the report: its items for a word, and the web
// look-ups, clipboard actions and report copies behind them. The chosen item is known by its text
// alone. Main event loop only.
#include <string>
#include <vector>

#include "framework/encoding.h"
#include "framework/menu.h"
#include "framework/text.h"
#include "framework/threads.h"
#include "framework/ui.h"
#include "framework/window.h"
#include "search/PMC.h"
#include "sources/ServiceHosts.h"
#include "windows/TextWindow.h"
#include "worddata/DIC.h"
#include "worddata/LocalizedConstant.h"
#include "worddata/TT.h"

namespace PMC {

namespace {

constexpr int kMinimumWordLength = 2;
constexpr int kMaximumWindows = 12;
const char* const kPortalItem = "Uni Leipzig Wortschatz";
const char* const kWordNetItem = "WordNet Online";
// The address follows, so that the user can open it by hand.
constinit LocalizedConstant gNoBrowser("PMC.cNoBrowser",
                                       "No web browser could be opened for this address:");

// The web sites' hosts: German and English.
struct SiteHosts {
    const char* item;
    const char* german;
    const char* english;
};
constexpr SiteHosts kSiteHosts[] = {
    {"Google", "www.google.de", "www.google.com"},
    {"Wikipedia", "de.wikipedia.org", "en.wikipedia.org"},
    {"Wiktionary", "de.wiktionary.org", "en.wiktionary.org"},
    {"Wikiquote", "de.wikiquote.org", "en.wikiquote.org"},
};

std::string SiteHost(const std::string& item) {
    for (const SiteHosts& site : kSiteHosts) {
        if (fw::EqualsIgnoreCase(item, site.item)) {
            return DIC::IsDE() ? site.german : site.english;
        }
    }
    return {};
}

// The browser URL of a web item for `word`; "" for any other item.
std::string WebURL(const std::string& item, const std::string& word) {
    const std::string w = fw::EncodeURLComponent(word);
    if (fw::EqualsIgnoreCase(item, "Google")) {
        const std::string query =
            DIC::IsDE() ? "/search?hl=de&q=define%3A" + w + "&btnG=Google-Suche&meta=lr%3Dlang_de"
                        : "/search?hl=en&q=define%3A" + w + "&btnG=Google+Search&meta=lr%3Dlang_en";
        return "http://" + SiteHost(item) + query;
    }
    if (fw::EqualsIgnoreCase(item, kPortalItem)) {
        return "http://" + ServiceHosts::Get().wortschatz +
               "/cgi-portal/de/wort_www?site=10&Wort=" +
               fw::EncodeURLComponent(fw::ConvertToWindows1252(word));
    }
    if (fw::EqualsIgnoreCase(item, kWordNetItem)) {
        return "http://" + ServiceHosts::Get().wordNet +
               "/perl/webwn?o2=&o0=1&o7=&o5=&o1=1&o6=&o4=&o3=&s=" + w;
    }
    const std::string host = SiteHost(item);
    return host.empty() ? std::string() : "http://" + host + "/wiki/" + w;
}

bool NewWindowAllowed() {
    return !IsAnySearchRunning() && fw::WindowCount() < kMaximumWindows;
}

}  // namespace

void ConstructContextualMenu(fw::MenuItem& base, const std::string& word, bool noNewWindow) {
    const bool longList = fw::Len(word) >= kMinimumWordLength;
    std::vector<std::string> texts;
    if (longList) {
        texts = {TT::MEN_Search() + "\"" + word + "\"" + TT::MEN_At(),
                 "Google",
                 DIC::IsEN() ? kWordNetItem : kPortalItem,
                 "Wikipedia",
                 "Wiktionary",
                 "Wikiquote",
                 "-",
                 TT::MEN_CopyWord(),
                 TT::MEN_AppendWord()};
    } else {
        texts = {TT::MEN_NoWord()};
    }
    if (!noNewWindow) {
        texts.push_back("-");
        texts.push_back(TT::MEN_NewWindow());
    }
    const size_t newWindowAt = longList ? 10 : 2;
    for (size_t p = 0; p < texts.size(); ++p) {
        auto item = std::make_unique<fw::MenuItem>(texts[p]);
        if (p == 0 || (p == newWindowAt && !NewWindowAllowed())) {
            item->Enabled = false;
        }
        base.Append(std::move(item));
        fw::Yield();
    }
}

void DoContextualMenu(const std::string& itemText, const std::string& word) {
    const std::string url = WebURL(itemText, word);
    if (fw::EqualsIgnoreCase(itemText, TT::MEN_CopyWord())) {
        fw::SetClipboardText(word);
    } else if (fw::EqualsIgnoreCase(itemText, TT::MEN_AppendWord())) {
        const std::string old = fw::ClipboardText();
        fw::SetClipboardText(old.empty() ? word : old + " " + word);
    } else if (fw::EqualsIgnoreCase(itemText, TT::MEN_NewWindow())) {
        TextWindow::Make().Show();
    }
    // Nothing waits for the browser; without one the user still gets the address.
    if (fw::Len(url) > 0 && !fw::UI().ShowURL(url)) {
        fw::MsgBox(gNoBrowser() + "\r\r" + url);
    }
}

}  // namespace PMC
