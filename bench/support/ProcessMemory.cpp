#include "ProcessMemory.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace verbaro::bench {

int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t totalPages = 0, residentPages = 0;
  if (!(statm >> totalPages >> residentPages)) return 0;
  return residentPages * sysconf(_SC_PAGESIZE);
}

int64_t PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      int64_t kibibytes = 0;
      status >> kibibytes;
      return kibibytes * 1024;
    }
    status.ignore(4096, '\n');
  }
  return 0;
}

}  // namespace verbaro::bench
