// The fatal error report and the processor probe. PMDebug holds no state. Error may be called on
// the main event loop and on cooperative threads; the probes run on the main event loop and block
// until their sysctl commands have finished.
#pragma once

#include <cstdint>
#include <string>

namespace PMDebug {

// Shows TT.ERR_Title, two line ends and the message in a modal box, asks the application to quit
// with exit code 0, and returns; the caller then ends its operation with its failure result.
void Error(const std::string& message);

// Processor class from `sysctl hw.cputype` / `hw.cpusubtype`: 1 probe failed, 2 other, 3 PowerPC
// 750, 4 PowerPC 7400/7450, 5 PowerPC 970, 6 x86.
int32_t GetMacCPUType();
// Clock in MHz from `sysctl hw.cpufrequency`, or -1.
int32_t GetMacCPUSpeed();

}  // namespace PMDebug
