// URL components and Windows-1252 on arbitrary bytes; the round trips that must hold, hold.
#include <cstdlib>
#include <string>

#include "framework/encoding.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (fw::DecodeURLComponent(fw::EncodeURLComponent(bytes)) != bytes) {
        std::abort();
    }
    fw::DecodeURLComponent(bytes);
    const std::string utf8 = fw::ConvertFromWindows1252(bytes);
    fw::ConvertToWindows1252(utf8);
    fw::ConvertToWindows1252(bytes);
    return 0;
}
