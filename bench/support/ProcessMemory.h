#pragma once
// Resident memory of this process, from /proc/self/statm and /proc/self/status.
#include <cstdint>

namespace verbaro::bench {

// Resident set size in bytes now; 0 when it cannot be read.
int64_t ResidentBytes();
// The largest resident set size so far (VmHWM) in bytes; 0 when it cannot be read.
int64_t PeakResidentBytes();

inline double Mebibytes(int64_t bytes) { return static_cast<double>(bytes) / (1 << 20); }

}  // namespace verbaro::bench
