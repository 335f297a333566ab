// One whole search through the real windows, typed into the search field as a user would: each
// iteration searches the word and then a rejected one-letter word, which hides the result window
// again. Iteration time is the program's CPU outside its event pumps (the spelling guesses are
// computed on a worker thread, outside it); counters give the longest event-loop stall, the wall
// time and the whole process's CPU, and whether the searches found words. The German word files of
// `resources` are loaded afresh for every benchmark, but the windows are set up once per process
// and find the word files beside the first `resources`: one benchmark program searches one set of
// word files.
#pragma once

#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

void BM_WholeSearch(benchmark::State& state, const std::string& word,
                    const std::filesystem::path& resources);
