// The German word service's portal page on arbitrary bytes: base-form pairs once each, subject
// areas once each, synonyms that pass the word check, once each, never the search word, appended
// after what the local synonym pass found; everything valid UTF-8; the cost linear in the page.
#include <string>

#include "framework/text.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reader_checks.h"
#include "search/PMC.h"
#include "sources/UL_WWWSocket.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    const std::string page(reinterpret_cast<const char*>(data), size);
    PMC::InitializeGlobals();
    PMC::gSynonymWords = {"Heim"};  // the local synonym pass came first
    const bool found = UL_WWWSocket::ReadPage(page, "Haus");
    fuzz::Require(found == !PMC::gWordBaseform.empty(), "found when a pair was stored");
    fuzz::RequireRows("base-form pairs", {&PMC::gWordBaseform, &PMC::gWordType}, "");
    fuzz::RequireList(PMC::gWordSachgebiete, "gWordSachgebiete", false, true);
    fuzz::RequireList(PMC::gSynonymWords, "gSynonymWords", true, true);
    fuzz::Require(fw::IndexOf(PMC::gSynonymWords, "Heim") >= 0, "the local synonyms kept");
    fuzz::Require(fw::IndexOf(PMC::gSynonymWords, "haus") < 0, "the search word no synonym");

    fuzz::RequireLinearTime(page, [](const std::string& scaled) {
        PMC::InitializeGlobals();
        UL_WWWSocket::ReadPage(scaled, "Haus");
    });
    PMC::InitializeGlobals();
    return 0;
}
