// The text layer in its hot loops: soundex replacements, k-gram look-ups of the similarity
// score, and character cuts, on German words with and without umlauts.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "framework/text.h"

namespace {

const std::vector<std::string>& Words(bool umlauts) {
    static const std::vector<std::string> ascii{
        "Hausboot",    "Bundesregierung", "Donaudampfschiff", "Kindergarten",
        "Wasserstoff", "Zeitung",         "Apfelbaum",        "Fensterbank"};
    static const std::vector<std::string> german{"Müller",      "Bäckerei",      "Größenordnung",
                                                 "Überweisung", "Schlüsselbund", "Frühstück",
                                                 "Käsekuchen",  "Straßenbahn"};
    return umlauts ? german : ascii;
}

// The k-grams the similarity score looks up in the candidate word.
const std::vector<std::string>& Grams(bool umlauts) {
    static const std::vector<std::string> ascii{"aus", "ERU", "ste", "Ung", "xyz", "ffe"};
    static const std::vector<std::string> german{"üll", "ÄCK", "ße", "ung", "xyz", "Frü"};
    return umlauts ? german : ascii;
}

void BM_InStrIgnoringCase(benchmark::State& state) {
    const bool umlauts = state.range(0) != 0;
    const auto& words = Words(umlauts);
    const auto& grams = Grams(umlauts);
    for (auto _ : state) {
        for (const std::string& word : words) {
            for (const std::string& gram : grams) {
                benchmark::DoNotOptimize(fw::InStr(word, gram));
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(words.size() * grams.size()));
}
BENCHMARK(BM_InStrIgnoringCase)->ArgName("umlauts")->Arg(0)->Arg(1);

// The German-letter and digit-class replacements of the soundex code, on upper-cased words.
void BM_ReplaceAllIgnoringCase(benchmark::State& state) {
    static constexpr std::array<std::array<const char*, 2>, 12> kRules{{{"Ü", "UE"},
                                                                        {"Ö", "OE"},
                                                                        {"Ä", "AE"},
                                                                        {"ß", "ss"},
                                                                        {"A", "0"},
                                                                        {"E", "0"},
                                                                        {"B", "1"},
                                                                        {"C", "2"},
                                                                        {"S", "2"},
                                                                        {"D", "3"},
                                                                        {"L", "4"},
                                                                        {"R", "6"}}};
    std::vector<std::string> words;
    for (const std::string& word : Words(state.range(0) != 0)) {
        words.push_back(fw::Uppercase(word));
    }
    for (auto _ : state) {
        for (const std::string& word : words) {
            std::string text = word;
            for (const auto& [find, with] : kRules) {
                text = fw::ReplaceAll(text, find, with);
            }
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(words.size() * kRules.size()));
}
BENCHMARK(BM_ReplaceAllIgnoringCase)->ArgName("umlauts")->Arg(0)->Arg(1);

void BM_Mid(benchmark::State& state) {
    const auto& words = Words(state.range(0) != 0);
    for (auto _ : state) {
        for (const std::string& word : words) {
            benchmark::DoNotOptimize(fw::Mid(word, 4, 3));
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(words.size()));
}
BENCHMARK(BM_Mid)->ArgName("umlauts")->Arg(0)->Arg(1);

void BM_Len(benchmark::State& state) {
    const auto& words = Words(state.range(0) != 0);
    for (auto _ : state) {
        for (const std::string& word : words) {
            benchmark::DoNotOptimize(fw::Len(word));
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(words.size()));
}
BENCHMARK(BM_Len)->ArgName("umlauts")->Arg(0)->Arg(1);

void BM_EqualsIgnoringCase(benchmark::State& state) {
    const auto& words = Words(state.range(0) != 0);
    std::vector<std::string> upper;
    for (const std::string& word : words) {
        upper.push_back(fw::Uppercase(word));
    }
    for (auto _ : state) {
        for (size_t i = 0; i < words.size(); ++i) {
            benchmark::DoNotOptimize(fw::EqualsIgnoreCase(words[i], upper[i]));
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(words.size()));
}
BENCHMARK(BM_EqualsIgnoringCase)->ArgName("umlauts")->Arg(0)->Arg(1);

}  // namespace
