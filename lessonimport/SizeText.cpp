#include "lessonimport/SizeText.h"

namespace verbaro::lessonimport {

std::string SizeText(size_t bytes) {
  constexpr size_t kKiB = 1024;
  constexpr size_t kMiB = kKiB * 1024;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " МиБ";
  if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " КиБ";
  return std::to_string(bytes) + " байт";
}

}  // namespace verbaro::lessonimport
