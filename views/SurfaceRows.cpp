#include "views/SurfaceRows.h"

#include <algorithm>
#include <cstring>

namespace verbaro {

void CopyRows(const QImage& from, QImage& to, int first, int count) {
  if (from.isNull() || to.size() != from.size() || to.format() != from.format()) return;
  const int begin = std::clamp(first, 0, from.height());
  const int end = std::clamp(first + count, begin, from.height());
  if (end == begin) return;
  const auto line = static_cast<size_t>(from.bytesPerLine());
  std::memcpy(to.bits() + line * static_cast<size_t>(begin),
              from.constBits() + line * static_cast<size_t>(begin),
              line * static_cast<size_t>(end - begin));
}

}  // namespace verbaro
