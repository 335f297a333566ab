// A localisation table on arbitrary bytes: malformed lines are skipped, every key answers.
#include "framework/localization.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    fuzz::WriteResource("de.strings", data, size);
    fw::SetLocalizationLanguage("de");
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string firstKey = text.substr(0, text.find('='));
    for (const std::string& key : {std::string("TT.REP_Found"), firstKey, std::string()}) {
        fw::System::_GetLocalizedString(key, "default");
    }
    fw::SetLocalizationLanguage("en");
    return 0;
}
