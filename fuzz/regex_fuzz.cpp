// The regular-expression wrapper on hostile subjects: the reply readers' patterns over arbitrary
// bytes, and the input's first line as a pattern over the rest. Every search ends.
#include <string>

#include "framework/regex.h"
#include "fuzz/fuzz_support.h"

namespace {

// The patterns the online readers and the report's word picking run over text from outside.
const char* const kPatterns[] = {
    "(&#x)([^;]*)(;)",
    "(<ns[0-9]+:dataRow>)([^<]*)",
    "(<P><B>Wort: </B> )([^<]+)",
    "(<LI>Grundform:)(.+?)([a-zA-Z&#0-9; ]+?)(</A>)",
    "(<B>Sachgebiet: )(.+?)(<TR><TD><B>)",
    "(>)([a-zA-Z&#0-9; ]+?)(<)",
    "(>Synonyme:)(.+?)(</UL>)",
    "[ ,\\r\\n]",
    "(a|a)*b",
};

void SearchAll(const std::string& pattern, const std::string& subject) {
    fw::RegEx regex;
    regex.SearchPattern = pattern;
    int matches = 0;
    for (auto match = regex.Search(subject, 0); match && matches < 256; match = regex.Search()) {
        for (int i = 0; i < match->SubExpressionCount(); ++i) {
            match->SubExpressionString(i);
            match->SubExpressionStartB(i);
        }
        ++matches;
    }
    regex.Search(subject, static_cast<long>(subject.size() / 2));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (const char* pattern : kPatterns) {
        SearchAll(pattern, input);
    }
    const size_t lineEnd = input.find('\n');
    if (lineEnd != std::string::npos && lineEnd <= 64) {
        SearchAll(input.substr(0, lineEnd), input.substr(lineEnd + 1));
    }
    return 0;
}
