// What every fuzz target shares: message boxes and quits that do nothing (a fatal report is an
// expected outcome, not a finding), and a throw-away application layout whose bin/ and Resources/
// folders the targets write their input into. One process, main OS thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Installs the silent services and the layout on the first call; the folder is removed at exit.
void Prepare();
// <layout>/Resources/<name> (or <layout>/bin/<name>, beside the application) holding the bytes;
// whatever SQLite or a set-aside may have left beside an earlier one is removed first.
std::string WriteResource(const std::string& name, const uint8_t* data, size_t size);
std::string WriteBesideApplication(const std::string& name, const uint8_t* data, size_t size);

}  // namespace fuzz

// The entry point each target defines, as libFuzzer calls it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
