// The German word service's SOAP replies on arbitrary bytes: the probe's envelope reader, the
// reference decoding (against its definition: replace the first reference, search again from the
// start), the reply rows, and the base-form, synonym and subject-group readers with the lists they
// fill; a reply of an earlier search adds nothing.
#include <algorithm>
#include <cstdint>
#include <string>

#include "framework/encoding.h"
#include "framework/soap.h"
#include "framework/text.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reader_checks.h"
#include "search/PMC.h"
#include "sources/UL_Baseform.h"
#include "sources/UL_ListClients.h"

namespace {

// Above this the definition's quadratic decoding would dominate the run.
constexpr size_t kLongestDecodedByDefinition = 8 << 10;

std::string DecodeByDefinition(std::string text) {
    for (size_t start = text.find("&#x"); start != std::string::npos; start = text.find("&#x")) {
        const size_t end = text.find(';', start);
        if (end == std::string::npos) {
            break;
        }
        uint32_t code = 0;
        for (size_t i = start + 3; i < end && fw::HexDigitValue(text[i]) >= 0; ++i) {
            code = std::min<uint32_t>(code * 16 + fw::HexDigitValue(text[i]), 0x110000);
        }
        text.replace(start, end + 1 - start,
                     code <= 0xFF
                         ? fw::ConvertFromWindows1252(std::string(1, static_cast<char>(code)))
                         : fw::Chr(code));
    }
    return text;
}

void ReadSynonyms(const std::string& reply, const std::string& requestWord) {
    UL_ListClient::ReadRows(UL_Synonyms::kFamily, reply, requestWord);
}

void RequireSubjectAreas(const std::string& reply) {
    PMC::InitializeGlobals();
    PMC::gSearchWord = "Haus";
    UL_ListClient::ReadRows(UL_Sachgebiete::kFamily, reply, "haus");
    fuzz::RequireList(PMC::gWordSachgebiete, "gWordSachgebiete", false, true);
    for (const std::string& area : PMC::gWordSachgebiete) {
        for (size_t slash = area.find('/'); slash != std::string::npos;
             slash = area.find('/', slash + 1)) {
            fuzz::Require(slash > 0 && area[slash - 1] == ' ' && area[slash + 1] == ' ',
                          "every slash of a subject area between blanks");
        }
    }
}

void RequireSynonyms(const std::string& reply, size_t rows) {
    PMC::InitializeGlobals();
    PMC::gSearchWord = "Haus";
    PMC::gSynonymWords = {"Heim"};  // the local synonym pass came first
    const bool found = UL_ListClient::ReadRows(UL_Synonyms::kFamily, reply, "haus");
    fuzz::Require(found == (rows > 0), "found when the reply has a row");
    fuzz::Require(PMC::gSynonymWords.front() == "Heim", "the online synonyms only appended");
    fuzz::RequireList(PMC::gSynonymWords, "gSynonymWords", true, true);
    fuzz::Require(fw::IndexOf(PMC::gSynonymWords, "Haus") < 0, "the search word no synonym");
    const PMC::WordList before = PMC::gSynonymWords;
    ReadSynonyms(reply, "Baum");
    fuzz::Require(PMC::gSynonymWords == before, "an earlier search's reply adds nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    const std::string reply(reinterpret_cast<const char*>(data), size);
    if (const auto soap = fw::ReadSOAPReply(reply)) {
        fuzz::Require(fw::IsValidUtf8(soap->Result("pingReturn")), "the ping's text UTF-8");
    }
    const std::string decoded = UL_HTTPSocket::ConvertResponseToUTF8(reply);
    fuzz::Require(size > kLongestDecodedByDefinition || decoded == DecodeByDefinition(reply),
                  "the reference decoding as defined");
    const std::vector<std::string> rows = UL_HTTPSocket::WordServiceRows(decoded);
    fuzz::RequireList(rows, "reply rows", false, false);

    PMC::InitializeGlobals();
    UL_Baseform::ReadPairs(reply);
    fuzz::RequireRows("base-form pairs", {&PMC::gWordBaseform, &PMC::gWordType}, "");
    for (const std::string& type : PMC::gWordType) {
        fuzz::Require(!type.empty() && type != "-", "no pair without a word class");
    }
    RequireSynonyms(reply, UL_HTTPSocket::WordServiceVectorHeads(decoded).size());
    RequireSubjectAreas(reply);

    fuzz::RequireLinearTime(reply, [](const std::string& scaled) {
        PMC::InitializeGlobals();
        PMC::gSearchWord = "Haus";
        UL_Baseform::ReadPairs(scaled);
        ReadSynonyms(scaled, "Haus");
    });
    PMC::InitializeGlobals();
    return 0;
}
