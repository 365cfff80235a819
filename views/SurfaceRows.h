#pragma once
// Copying whole rows between two surfaces of one size and format, as one block: whole rows,
// also right of the client area, where the surfaces are never shown. One large copy runs several
// times faster than one copy per client row.
#include <QImage>

namespace verbaro {

// Device rows [first, first + count) of `from` into `to`, clamped to the surfaces; nothing when
// the two differ in size or format.
void CopyRows(const QImage& from, QImage& to, int first, int count);

inline void CopyTopRows(const QImage& from, QImage& to, int rows) { CopyRows(from, to, 0, rows); }

}  // namespace verbaro
