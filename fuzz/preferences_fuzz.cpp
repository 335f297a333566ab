// The preference file beside the application on arbitrary bytes, read and written as the start-up
// does: a value, nil or a fatal report, never a crash or a hang.
#include "framework/variant.h"
#include "fuzz/fuzz_support.h"
#include "worddata/PREFS.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    fuzz::WriteBesideApplication(PREFS::gAppName + ".pref", data, size);
    PREFS::Initialize();
    PREFS::Retrieve("DicLanguage");
    PREFS::Retrieve("DB_Creation_Date");
    PREFS::Store("DicLanguage", fw::Variant("DE"));
    PREFS::Retrieve("DicLanguage");
    PREFS::gPrefsDB.reset();
    return 0;
}
