// The context menu of the search field and of the report, through the real windows offscreen:
// its items and their states, the web addresses handed to the URL opener, the clipboard, and the
// twelve-window limit of the report copies.
#include <QTextEdit>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/events.h"
#include "framework/localization.h"
#include "framework/timer.h"
#include "framework/window.h"
#include "search/PMC.h"
#include "test_ui.h"
#include "tools/drive/SearchDriver.h"
#include "window_events.h"
#include "windows/ResultWin.h"
#include "windows/SearchWin.h"
#include "windows/TextWindow.h"
#include "worddata/DIC.h"

namespace {

using Items = std::vector<std::pair<std::string, bool>>;

const std::string kReport = "\n\"Haus\" was found!\n\nSynonyms...\n\nGebäude, Heim";

Items WordItems(const std::string& word, const std::string& lexicalSite) {
    return {{"Search \"" + word + "\" at...", false},
            {"Google", true},
            {lexicalSite, true},
            {"Wikipedia", true},
            {"Wiktionary", true},
            {"Wikiquote", true},
            {"-", true},
            {"Copy word", true},
            {"Append word", true}};
}

class ContextMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fw::SetLocalizationLanguage("en");
        savedLanguage_ = DIC::gSelectedLanguage;
        DIC::gSelectedLanguage = "DE";
        PMC::InitializeGlobals();
        ResultWin::Get().ResultField.SetText(kReport);
        ResultWin::Get().ResultField.SetBold(1, 17);
        ResultWin::Get().Show();
    }

    void TearDown() override {
        for (int i = fw::WindowCount() - 1; i >= 0; --i) {
            if (auto* copy = dynamic_cast<TextWindow*>(fw::WindowAt(i))) {
                copy->Close();
            }
        }
        fw::DoEvents(0);
        ResultWin::Get().Hide();
        SearchWin::Get().UserInput.SetText("");
        SearchWin::Get().SearchTimer.SetMode(fw::Timer::ModeOff);
        DIC::gSelectedLanguage = savedLanguage_;
        PMC::InitializeGlobals();
    }

    // The menu of a context click on the search field holding `text`, choosing `choice`.
    Items FieldMenu(const std::string& text, const std::string& choice = "") {
        SearchWin& search = SearchWin::Get();
        search.UserInput.SetText(text);
        search.SearchTimer.SetMode(fw::Timer::ModeOff);
        ui->menuChoice = choice;
        SearchDriver::ContextClickField();
        return ui->shownMenu;
    }

    // The menu of a context click `offset` characters into the report's first `needle`,
    // choosing `choice`.
    Items ReportMenu(const std::string& needle, const std::string& choice = "",
                     int64_t offset = 0) {
        ui->menuChoice = choice;
        const fw::EditField& field = ResultWin::Get().ResultField;
        SearchDriver::ContextClick(static_cast<QTextEdit*>(field.Widget())->viewport(),
                                   CharacterPoint(field, PositionOf(kReport, needle) + offset));
        return ui->shownMenu;
    }

    ScopedRecordingUI ui;

  private:
    std::string savedLanguage_;
};

TEST_F(ContextMenuTest, ItemsFollowTheWordTheFieldAndTheEdition) {
    Items noWord = {{"No word selected!", false}};
    EXPECT_EQ(FieldMenu("H"), noWord) << "one letter: no word, and the field offers no copy";
    EXPECT_EQ(FieldMenu("Ha"), WordItems("Ha", "Uni Leipzig Wortschatz"));
    EXPECT_EQ(FieldMenu("A&B x"), WordItems("A&B x", "Uni Leipzig Wortschatz"))
        << "the whole text, untrimmed";

    Items reportWord = WordItems("Heim", "Uni Leipzig Wortschatz");
    reportWord.insert(reportWord.end(), {{"-", true}, {"Open new window", true}});
    EXPECT_EQ(ReportMenu("Heim"), reportWord);
    EXPECT_EQ(ResultWin::Get().ResultField.SelText(), "Heim");
    noWord.insert(noWord.end(), {{"-", true}, {"Open new window", true}});
    EXPECT_EQ(ReportMenu("found"), noWord) << "a heading picks no word";
    EXPECT_EQ(ReportMenu("Heim", "Copy word", 4), reportWord) << "right of the line's end";
    EXPECT_EQ(ResultWin::Get().ResultField.SelText(), "Heim");
    EXPECT_EQ(ui->clipboard, "Heim");
    EXPECT_EQ(ReportMenu("found!\n", "", 6), noWord) << "right of the heading's end";
    EXPECT_EQ(ReportMenu("\n\nSynonyms", "", 1), noWord) << "an empty line";

    DIC::gSelectedLanguage = "EN";
    EXPECT_EQ(FieldMenu("house"), WordItems("house", "WordNet Online"));
}

TEST_F(ContextMenuTest, NewWindowFollowsTheTwelveWindowLimitAndRunningSearches) {
    while (fw::WindowCount() < 11) {
        TextWindow::Make();
    }
    EXPECT_TRUE(ReportMenu("Heim", "Open new window").back().second) << "11 windows";
    ASSERT_EQ(fw::WindowCount(), 12) << "the chosen item opened the twelfth";
    EXPECT_FALSE(ReportMenu("Heim").back().second) << "12 windows";

    fw::WindowAt(0)->Close();
    PMC::gWordNetSearchRunning = true;
    EXPECT_FALSE(ReportMenu("Heim", "Open new window").back().second) << "a search runs";
    EXPECT_FALSE(ReportMenu("found", "Open new window").back().second) << "a heading: no word";
    EXPECT_EQ(fw::WindowCount(), 11) << "a disabled item can't be chosen";
}

TEST_F(ContextMenuTest, WebSitesGetTheWordInUtf8AndThePortalInWindowsLatin1) {
    struct Case {
        const char* language;
        const char* word;
        std::vector<std::string> urls;
    };
    const Case cases[] = {
        {"DE",
         "Bär",
         {"http://www.google.de/"
          "search?hl=de&q=define%3AB%C3%A4r&btnG=Google-Suche&meta=lr%3Dlang_de",
          "http://wortschatz.uni-leipzig.de/cgi-portal/de/wort_www?site=10&Wort=B%E4r",
          "http://de.wikipedia.org/wiki/B%C3%A4r", "http://de.wiktionary.org/wiki/B%C3%A4r",
          "http://de.wikiquote.org/wiki/B%C3%A4r"}},
        {"EN",
         "Bär",
         {"http://www.google.com/"
          "search?hl=en&q=define%3AB%C3%A4r&btnG=Google+Search&meta=lr%3Dlang_en",
          "http://wordnetweb.princeton.edu/perl/webwn?o2=&o0=1&o7=&o5=&o1=1&o6=&o4=&o3=&s=B%C3%A4r",
          "http://en.wikipedia.org/wiki/B%C3%A4r", "http://en.wiktionary.org/wiki/B%C3%A4r",
          "http://en.wikiquote.org/wiki/B%C3%A4r"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.word);
        DIC::gSelectedLanguage = c.language;
        ui->urls.clear();
        for (int site = 1; site <= 5; ++site) {
            FieldMenu(c.word, FieldMenu(c.word)[site].first);
        }
        EXPECT_EQ(ui->urls, c.urls);
    }
    EXPECT_TRUE(ui->messages.empty());
    ui->browserOpens = false;  // the user still gets the address
    PMC::DoContextualMenu("Wikipedia", "Bär");
    EXPECT_EQ(ui->messages,
              std::vector<std::string>{"No web browser could be opened for this "
                                       "address:\r\rhttp://en.wikipedia.org/wiki/B%C3%A4r"});
}

TEST_F(ContextMenuTest, CopyReplacesTheClipboardAndAppendAddsABlankOnlyAfterText) {
    ui->clipboard = "";
    FieldMenu("Haus", "Append word");
    EXPECT_EQ(ui->clipboard, "Haus");
    ReportMenu("Heim", "Append word");
    EXPECT_EQ(ui->clipboard, "Haus Heim");
    PMC::DoContextualMenu("COPY WORD", "Baum");
    EXPECT_EQ(ui->clipboard, "Baum") << "items are known by their text, ignoring case";
    EXPECT_TRUE(ui->urls.empty());
}

}  // namespace
