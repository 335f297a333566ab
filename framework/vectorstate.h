// Qt's AVX-512 drawing code leaves the upper vector registers (zmm16 to zmm31) in use on the
// thread that paints. Until they are cleared, every legacy-SSE instruction pays a state penalty:
// glibc's SSE string functions, which SQLite's LIKE spends its time in, run some 40% slower in a
// process that has drawn a window. Long scans clear the state before they start.
#pragma once

namespace fw {

// Clears the upper vector state where the processor has AVX-512; does nothing elsewhere. Costs a
// few cycles.
void ClearUpperVectorState();

}  // namespace fw
