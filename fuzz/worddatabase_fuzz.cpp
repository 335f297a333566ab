// The word database opened on arbitrary bytes, with the lookups a search makes: every outcome is a
// result or a fatal report, never a crash or a hang.
#include "fuzz/fuzz_support.h"
#include "worddata/DIC.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    fuzz::WriteResource("DIC_DB_DE.tdb", data, size);
    DIC::gSelectedLanguage = size % 2 ? "EN" : "DE";
    if (DIC::LoadDB("DE")) {
        DIC::FindWord("Haus", true);
        DIC::FindWord("haus", false);
        DIC::FindWord("%au%", false);
        const int32_t key = DIC::GetSoundex("Haus");
        DIC::FindSoundex(key);
        for (int32_t id = -1; id < 4; ++id) {
            DIC::GetWord(id);
        }
        for (const std::string& word : DIC::gHitWord) {
            DIC::FuzzyCompare(word, "Haus");
            DIC::GetSoundex(word);
        }
    }
    DIC::gWordDB.reset();
    DIC::gHitID.clear();
    DIC::gHitWord.clear();
    return 0;
}
