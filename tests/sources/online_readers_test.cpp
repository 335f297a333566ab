// The online reply readers on byte buffers: the SOAP reply decoding, the base-form pairs, the
// portal page and the lexical-database page, with hostile pages that must stay linear.
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/http.h"
#include "framework/text.h"
#include "online_replies.h"
#include "search/PMC.h"
#include "sources/ReplyBudget.h"
#include "sources/UL_Baseform.h"
#include "sources/UL_HTTPSocket.h"
#include "sources/UL_ListClients.h"
#include "sources/UL_WWWSocket.h"
#include "sources/WordNetSocket.h"
#include "worddata/TT.h"

namespace {

using Words = std::vector<std::string>;

TEST(ConvertResponseToUTF8Test, OnePassDecodesLikeRestartingAfterEveryReference) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"Gr&#xFC;&#xDF;e", "Grüße"},
        {"&amp; &#228; x", "&amp; &#228; x"},
        {"a&#x;b", std::string("a\0b", 3)},
        {"&#x80;", "€"},
        {"&#x26;#x41;", "A"},
        {"&#&#x78;41;!", "A!"},
        {"&#x20AC;&#xFFFFFFFFFFFFFFFFFFFF;", "€\xEF\xBF\xBD"},
        {"&#x41 no end", "&#x41 no end"},
        {"&#xe4zz;", "ä"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UL_HTTPSocket::ConvertResponseToUTF8(c.in), c.out) << c.in;
    }
}

class ReaderTest : public ::testing::Test {
  protected:
    void SetUp() override { PMC::InitializeGlobals(); }
    void TearDown() override { PMC::InitializeGlobals(); }
};

// One row per (form, class) ignoring case; "-" and empty classes and a last row alone pass over.
TEST_F(ReaderTest, BaseformPairsAreKeptOncePerFormAndClassIgnoringCase) {
    UL_Baseform::ReadPairs(online::SoapRows({"Haus", "S",   "haus", "s",   "Haus",  "N",  "Rot",
                                             "-",    "rot", "A",    "Hof", "",      "Z",  "X",
                                             "geht", "v",   "Anna", "VN",  "Meier", "nn", "Rest"}));
    EXPECT_EQ(PMC::gWordBaseform, (Words{"Haus", "Haus", "rot", "Z", "geht", "Anna", "Meier"}));
    EXPECT_EQ(PMC::gWordType, (Words{TT::REP_Noun(), TT::REP_Neuter(), TT::REP_Adjective(), "X",
                                     TT::REP_Verb(), TT::REP_FirstName(), TT::REP_LastName()}));
}

// The synonym replies pair each word with its word-class tag in one vector; however the service
// writes the vector's tag, only the words count, and a reply without vectors loses none.
TEST(WordServiceVectorHeadsTest, TheTagsBesideTheWordsAreNoWords) {
    const std::string paired = online::SoapRows({"Heim", "S", "Bau", "S", "Dach", "S"}, 2);
    const std::string prefixed =
        fw::ReplaceAll(paired, "<dataVectors>", "<ns0:dataVectors xsi:type=\"x\">");
    const std::string bare = fw::ReplaceAll(paired, "<dataVectors>", "");
    EXPECT_EQ(UL_HTTPSocket::WordServiceVectorHeads(paired), (Words{"Heim", "Bau", "Dach"}));
    EXPECT_EQ(UL_HTTPSocket::WordServiceVectorHeads(prefixed), (Words{"Heim", "Bau", "Dach"}));
    EXPECT_EQ(UL_HTTPSocket::WordServiceVectorHeads(bare).size(), 6u);
}

// Each follow-up client's own rules for the rows of a reply; a reply of an earlier search adds
// nothing.
TEST_F(ReaderTest, FollowUpRowsKeepOnlyWhatTheirClientAccepts) {
    const struct {
        const char* rule;
        const UL_ListClient::Family& family;
        std::string searchWord;
        Words rows, before, after;
        size_t perVector;
    } cases[] = {
        {"one ' / ' form, each group once",
         UL_Sachgebiete::kFamily,
         "Haus",
         {"Politik / Recht", "Politik/Recht", "politik / recht", "Sport"},
         {},
         {"Politik / Recht", "Sport"},
         1},
        {"no search word, rejected, empty or known synonym",
         UL_Synonyms::kFamily,
         "Haus",
         {"Heim", "S", "haus", "S", "Bau2", "S", "", "S", "-los", "S", "heim", "S", "zelt", "S"},
         {"Zelt"},
         {"Zelt", "Heim"},
         2},
        {"thesaurus rows alike",
         UL_Thesaurus::kFamily,
         "Haus",
         {"haus", "Zelt", "Dach"},
         {"zelt"},
         {"zelt", "Dach"},
         1},
        {"an earlier search", UL_Synonyms::kFamily, "Bär", {"Heim", "S"}, {}, {}, 2},
    };
    for (const auto& c : cases) {
        PMC::InitializeGlobals();
        PMC::gSearchWord = c.searchWord;
        *c.family.target = c.before;
        UL_ListClient::ReadRows(c.family, online::SoapRows(c.rows, c.perVector), "Haus");
        EXPECT_EQ(*c.family.target, c.after) << c.rule;
    }
}

// Four entries with line ends inside, entities and Windows-1252 bytes; the last one has no end
// marker and runs to the end of the page.
TEST_F(ReaderTest, PortalBlocksGiveFormsClassesSubjectsSynonymsHypernymsAndAdjectiveForms) {
    const std::string page =
        "<P><B>Wort: </B> Haus<table><TR><TD>Wortart: Substantiv</TD></TR><LI>Grundform:"
        "<A x>Haus</A><B>Sachgebiet: </B><A>Bau</A>, <A>Recht</A><TR><TD><B><LI>ist ein"
        "<A>Geb&auml;ude</A>\r\n>Synonyme:<LI><A>Heim</A><LI><A>haus</A><LI><A>H&auml;uschen</A>"
        "<LI><A>&Ouml;de Schlo&szlig;h&uuml;tte "
        "&Uuml;berh&ouml;he</A><LI><A>Bau2</A></UL></table><P>"
        "<P><B>Wort: </B> Haus<TD>Wortart: Substantiv</table><P>"
        "<P><B>Wort: </B> &Auml;hre\n<B>Sachgebiet: </B><A>Bau</A><TR><TD><B></table><P>"
        "<P><B>Wort: </B> \xC4hren<LI>-lich-Form von:<A>h\xE4uslich</A><LI>-lich-Form von:<A>a</A>";
    PMC::gSynonymWords = {"Zelt"};
    EXPECT_TRUE(UL_WWWSocket::ReadPage(page, "Haus"));
    EXPECT_EQ(PMC::gWordBaseform, (Words{"Haus", "Ähre", "Ähren"}));
    EXPECT_EQ(PMC::gWordType, (Words{"Substantiv", "?", "?"}));
    EXPECT_EQ(PMC::gWordSachgebiete, (Words{"Bau", "Recht", "Geb&auml;ude"}));
    EXPECT_EQ(PMC::gSynonymWords,
              (Words{"Häuschen", "Heim", "Öde Schloßhütte Überhöhe", "Zelt", "uslich"}));
    PMC::InitializeGlobals();
    EXPECT_FALSE(UL_WWWSocket::ReadPage("<html>Wort: Haus</html>", "Haus"));
    EXPECT_TRUE(PMC::gWordBaseform.empty());
}

// Entries of the shapes the first page leaves out, and what each list keeps across entries.
TEST_F(ReaderTest, PortalEntriesOfEveryShape) {
    const struct {
        const char* rule;
        std::string page;
        Words synonymsBefore, baseforms, types, subjects, synonyms;
    } cases[] = {
        {"entities decoded in form and class, kept in the adjective form; a lone CR; the noun rule "
         "by the first letter; keys ignoring case",
         "<P><B>Wort: </B> Haus<LI>Grundform:<A>H&auml;user</A><TD>Wort\rart: Pr&auml;position"
         "<LI>-lich-Form von:<A>h&auml;uslich</A></table><P><P><B>Wort: </B> "
         "Zebra</table><P><P><B>Wort: </B> zebra</table><P>"
         "<P><B>Wort: </B> ZEBRA<TD>Wortart: substantiv</table><P>",
         {},
         {"Häuser", "Zebra", "zebra"},
         {"Präposition", "Substantiv", "?"},
         {},
         {}},
        {"lists once ignoring case, an earlier entry's adjective form sorted",
         "<P><B>Wort: </B> Haus<TD>Wortart: Substantiv<B>Sachgebiet: </B><A>K&uuml;che</A>, "
         "<A>Bau</A><TR><TD><B>>Synonyme:<LI><A>zelt</A><LI><A>Heim</A></UL><LI>ist ein<A>bau</A>"
         "<LI>-lich-Form von:<A>artig</A></table><P><P><B>Wort: </B> Hausen<TD>Wortart: Verb</TD>"
         ">Synonyme:<LI><A>Moos</A></UL></table><P>",
         {"Zelt"},
         {"Haus", "Hausen"},
         {"Substantiv", "Verb"},
         {"Küche", "Bau"},
         {"artig", "Heim", "Moos", "Zelt"}},
    };
    for (const auto& c : cases) {
        PMC::InitializeGlobals();
        PMC::gSynonymWords = c.synonymsBefore;
        EXPECT_TRUE(UL_WWWSocket::ReadPage(c.page, "Haus")) << c.rule;
        EXPECT_EQ(PMC::gWordBaseform, c.baseforms) << c.rule;
        EXPECT_EQ(PMC::gWordType, c.types) << c.rule;
        EXPECT_EQ(PMC::gWordSachgebiete, c.subjects) << c.rule;
        EXPECT_EQ(PMC::gSynonymWords, c.synonyms) << c.rule;
    }
}

// A row is one class, words and gloss, ignoring case; senses that share words forbid each
// occurrence.
TEST_F(ReaderTest, LexicalDatabaseRowsOfEveryShape) {
    const struct {
        const char* rule;
        std::string page;
        Words types, words, glosses, forbidden;
    } cases[] = {
        {"a verb without gloss; a Windows-1252 byte and a word in the gloss's markup",
         "<h3>Verb</h3><li>(v) <a>run</a></li>\n<li>(n) <a>cafe</a> (a caf\xE9 with "
         "<i>milk</i>)</li>",
         {TT::REP_Verb(), TT::REP_Noun()},
         {"run", "cafe, milk"},
         {"", "a caf\xC3\xA9 with <i>milk</i>"},
         {"run", "cafe", "milk"}},
        {"the key holds class and gloss and ignores case; one line is one item",
         "<h3>x</h3><li>(n) <a>fast</a> (a time)</li>\n<li>(n) <a>Fast</a> (A Time)</li>\n"
         "<li>(v) <a>fast</a> (a time)</li>\n<li>(n) <a>fast</a> (abstaining)</li>\n"
         "<li>(adj) <a>quick</a> (q)</li><li>(n) <a>rapid</a> (r)</li>",
         {TT::REP_Noun(), TT::REP_Verb(), TT::REP_Noun(), TT::REP_Adjective()},
         {"fast", "fast", "fast", "quick, rapid"},
         {"a time", "a time", "abstaining", "q)</li><li>(n) <a>rapid</a> (r"},
         {"fast", "Fast", "fast", "fast", "quick", "rapid"}},
        {"the no-results heading in any case",
         "<H3>Your search did not return ANY results.</H3><li>(n) <a>x</a> (y)</li>",
         {},
         {},
         {},
         {}},
    };
    for (const auto& c : cases) {
        PMC::InitializeGlobals();
        EXPECT_EQ(WordNetSocket::ReadPage(c.page), !c.words.empty()) << c.rule;
        EXPECT_EQ(PMC::gWordType, c.types) << c.rule;
        EXPECT_EQ(PMC::gWordBaseform, c.words) << c.rule;
        EXPECT_EQ(PMC::gWordSachgebiete, c.glosses) << c.rule;
        EXPECT_EQ(PMC::gForbiddenSynonyms, c.forbidden) << c.rule;
    }
}

TEST_F(ReaderTest, LexicalDatabaseItemsBecomeSensesAndEveryNamedWordIsForbidden) {
    const std::string page =
        "<html>x<li>(v) <a>skip</a></li><h3>Noun</h3><ul>"
        "<li>(n) <a>dog</a>, <a>domestic%20dog</a>, <a>K9</a> (a member (canid) of the genus) "
        "\"the dog barked\"</li>\n"
        "<li>(n) <a>dog</a>, <a>domestic dog</a>, <a>K9</a> (a member (canid) of the genus) "
        "\"the dog barked\"</li>\n"
        "<li><a>frump</a> (a dull %E4 woman)</li>\n<li>(adj) <a>o'clock</a>, <a>3</a></li></ul>";
    EXPECT_TRUE(WordNetSocket::ReadPage(page));
    EXPECT_EQ(PMC::gWordType, (Words{TT::REP_Noun(), TT::REP_UnknownType()}));
    EXPECT_EQ(PMC::gWordBaseform, (Words{"dog, domestic dog", "frump"}));
    EXPECT_EQ(PMC::gWordSachgebiete,
              (Words{"a member (canid) of the genus", "a dull \xEF\xBF\xBD woman"}));
    EXPECT_EQ(PMC::gForbiddenSynonyms,
              (Words{"dog", "domestic dog", "dog", "domestic dog", "frump"}));
    PMC::InitializeGlobals();
    EXPECT_FALSE(
        WordNetSocket::ReadPage(std::string(online::kNoResults) + "<li>(n) <a>x</a></li>"));
    EXPECT_TRUE(PMC::gWordBaseform.empty());
}

// Pages a hostile server could send: each is read in well under a second, at the reply cap.
TEST_F(ReaderTest, HostilePagesAreReadInLinearTime) {
    constexpr size_t kCap = fw::HTTPReplyReader::kMaxReplyBytes;
    std::string references;
    for (int i = 0; references.size() < kCap; ++i) {
        references += "<ns1:dataRow>&#x26;#x4" + std::to_string(i % 10) + ";&#x";
    }
    std::string headings;
    while (headings.size() < kCap) {
        headings += "<P><B>Wort: </B> Haus<LI>Grundform:<A>Haus <B>Sachgebiet: <LI>ist ein ";
    }
    std::string entries;  // each with a new synonym: a sort after every entry was quadratic
    for (int i = 0; entries.size() < kCap; ++i) {
        std::string word;
        for (int rest = i; rest > 0 || word.empty(); rest /= 26) {
            word += static_cast<char>('a' + rest % 26);
        }
        entries += "<P><B>Wort: </B> Haus>Synonyme:<A>" + word + "</A></UL>";
    }
    std::string items = "<li>(n) ";
    while (items.size() < kCap) {
        items += "<a>dog</a> (gloss) ";
    }
    items += "</li>";
    const auto start = std::chrono::steady_clock::now();
    UL_Baseform::ReadPairs(references + ";");
    PMC::InitializeGlobals();
    UL_WWWSocket::ReadPage(headings + "</table><P>", "Haus");
    UL_WWWSocket::ReadPage(entries, "Haus");
    WordNetSocket::ReadPage(items);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(PMC::gWordType.front(), "Substantiv");
    EXPECT_EQ(PMC::gSynonymWords.size(), ReplyBudget::kEntriesPerList);
    EXPECT_EQ(PMC::gForbiddenSynonyms.size(), ReplyBudget::kEntriesPerList);
}

// A word no real page holds is dropped, and a reply's entries stop where its text budget ends.
TEST_F(ReaderTest, AReplyAddsNoImplausibleWordAndStopsAtItsBudget) {
    Words rows = {std::string(201, 'a'), "S", std::string(200, 'c'), "S"};
    for (int i = 0; rows.size() < 4000; ++i) {
        rows.insert(rows.end(), {std::string(60, 'b') + std::to_string(i), "S"});
    }
    UL_Baseform::ReadPairs(online::SoapRows(rows));
    size_t bytes = 0;
    for (size_t i = 0; i < PMC::gWordBaseform.size(); ++i) {
        bytes += PMC::gWordBaseform[i].size() + PMC::gWordType[i].size();
    }
    ASSERT_GE(PMC::gWordBaseform.size(), 2u);
    EXPECT_EQ(PMC::gWordBaseform[0], std::string(200, 'c'));
    EXPECT_EQ(PMC::gWordBaseform[1], std::string(60, 'b') + "0");
    EXPECT_GT(bytes, ReplyBudget::kBytes - 70);
    EXPECT_LE(bytes, ReplyBudget::kBytes);
}

}  // namespace
