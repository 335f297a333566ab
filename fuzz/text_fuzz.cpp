// The text helpers, the soundex code and the word similarity on arbitrary bytes, invalid UTF-8
// included: positions stay inside the text, case rules agree with themselves, nothing crashes.
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/text.h"
#include "fuzz/fuzz_support.h"
#include "worddata/DIC.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t half = input.size() / 2;
    const std::string first = input.substr(0, half);
    const std::string second = input.substr(half);
    const int64_t length = fw::Len(input);
    if (length < 0 || static_cast<size_t>(length) > input.size()) {
        std::abort();
    }
    for (const int64_t at : {int64_t{-1}, int64_t{0}, int64_t{1}, length / 2, length, length + 1}) {
        fw::Mid(input, at);
        fw::Mid(input, at, 3);
        fw::Left(input, at);
        fw::Right(input, at);
        const int64_t found = fw::InStr(at < 1 ? 1 : at, input, second);
        if (found < 0 || found > length + 1) {  // an empty text is found at the start position
            std::abort();
        }
    }
    fw::InStrB(1, input, second);
    fw::ReplaceAll(input, second.substr(0, 2), first.substr(0, 3));
    fw::Replace(input, first.substr(0, 1), "x");
    fw::Trim(input);
    if (fw::EqualsIgnoreCase(first, second) != (fw::CompareIgnoreCase(first, second) == 0)) {
        std::abort();
    }
    fw::EqualsIgnoreCase(fw::Uppercase(input), fw::Lowercase(input));
    fw::StrComp(first, second, 0);
    fw::StrComp(first, second, 1);
    fw::Val(input);
    std::vector<std::string> list = {second, first, input, "Haus", "äpfel"};
    fw::SortList(list);
    fw::IndexOf(list, first);
    DIC::GetSoundex(input);
    DIC::GetSoundexAUX(input, 4, true);
    DIC::FuzzyCompare(first, second);
    DIC::CorrectWord(input);
    return 0;
}
