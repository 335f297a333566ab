// The English lexical database's page on arbitrary bytes: sense rows once each, made of words that
// pass the word check, glosses valid UTF-8 whatever the percent escapes decode to, every forbidden
// synonym a checked word; the cost linear in the page.
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "fuzz/reader_checks.h"
#include "search/PMC.h"
#include "sources/WordNetSocket.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    const std::string page(reinterpret_cast<const char*>(data), size);
    PMC::InitializeGlobals();
    const bool found = WordNetSocket::ReadPage(page);
    fuzz::Require(found == !PMC::gWordBaseform.empty(), "found when a sense was stored");
    fuzz::RequireRows("senses", {&PMC::gWordType, &PMC::gWordBaseform, &PMC::gWordSachgebiete},
                      ":");
    fuzz::RequireList(PMC::gForbiddenSynonyms, "gForbiddenSynonyms", true, false);
    for (const std::string& words : PMC::gWordBaseform) {
        std::vector<std::string> split;
        for (size_t from = 0, comma = 0; comma != std::string::npos; from = comma + 2) {
            comma = words.find(", ", from);
            split.push_back(words.substr(from, comma - from));
        }
        fuzz::RequireList(split, "the words of a sense", true, false);
    }

    fuzz::RequireLinearTime(page, [](const std::string& scaled) {
        PMC::InitializeGlobals();
        WordNetSocket::ReadPage(scaled);
    });
    PMC::InitializeGlobals();
    return 0;
}
