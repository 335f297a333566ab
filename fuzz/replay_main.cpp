// Replays fuzz inputs through a target without libFuzzer, so that the g++ build and the test run
// check every committed corpus and regression file in seconds: quorvane-fuzz-replay-<target>
// FILE-OR-FOLDER... A crash or a hang is the failure; folders that don't exist are skipped.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(const fs::path& place) {
    std::vector<fs::path> inputs;
    std::error_code error;
    if (fs::is_regular_file(place, error)) {
        inputs.push_back(place);
    } else if (fs::is_directory(place, error)) {
        for (const auto& entry : fs::recursive_directory_iterator(place, error)) {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

}  // namespace

int main(int argc, char** argv) {
    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& input : Inputs(argv[i])) {
            std::ifstream file(input, std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::cout << "replayed " << replayed << " inputs" << std::endl;
    return replayed > 0 ? 0 : 1;
}
