// The word-group file on arbitrary bytes: it loads or ends in its fatal report, never in a crash,
// a huge allocation or a slow load; a loaded file then answers every lookup.
#include "fuzz/fuzz_support.h"
#include "search/App.h"
#include "worddata/DIC.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    fuzz::WriteResource("DIC_WL_DE.tdb", data, size);
    if (DIC::LoadWL("DE")) {
        for (int64_t word = -1;
             word <= static_cast<int64_t>(DIC::gWordGroupsDict.Count()) && word < 64; ++word) {
            for (const int32_t key : DIC::gWordGroupsDict.GroupKeys(word)) {
                DIC::gGroupDict->Members(key);
            }
        }
    }
    App::gDBLoaded = true;
    DIC::Terminate();
    App::gDBLoaded = false;
    return 0;
}
