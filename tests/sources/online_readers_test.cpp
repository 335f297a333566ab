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
    UL_Baseform::ReadPairs(online::SoapRows({"Haus", "S", "haus", "s", "Haus", "N", "Rot", "-",
                                             "rot", "A", "Hof", "", "Z", "X", "Rest"}));
    EXPECT_EQ(PMC::gWordBaseform, (Words{"Haus", "Haus", "rot", "Z"}));
    EXPECT_EQ(PMC::gWordType, (Words{TT::REP_Noun(), TT::REP_Neuter(), TT::REP_Adjective(), "X"}));
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
    Words rows = {std::string(201, 'a'), "S"};
    for (int i = 0; rows.size() < 4000; ++i) {
        rows.insert(rows.end(), {std::string(60, 'b') + std::to_string(i), "S"});
    }
    UL_Baseform::ReadPairs(online::SoapRows(rows));
    size_t bytes = 0;
    for (size_t i = 0; i < PMC::gWordBaseform.size(); ++i) {
        bytes += PMC::gWordBaseform[i].size() + PMC::gWordType[i].size();
    }
    EXPECT_EQ(PMC::gWordBaseform.front(), std::string(60, 'b') + "0");
    EXPECT_GT(bytes, ReplyBudget::kBytes - 70);
    EXPECT_LE(bytes, ReplyBudget::kBytes);
}

}  // namespace
