#pragma once
// The composed scene with the fills of the grid's rows blended over it, kept from one repaint to
// the next. A repaint copies it where it would copy the bare scene and draws only the texts,
// numbers, frames and marks of the grid over it. The fills are the first thing drawn on each
// row and never overlap, so this leaves the same pixels as blending them at every repaint, as
// long as no text reaches into a filled row below its own (the caller checks that), and saves
// the alpha blend of most of the surface. When the fills change, only the rows whose fill
// changed are composed again.
#include <QImage>
#include <optional>

#include "views/EntryPicture.h"

namespace verbaro::grid {

class FilledScene {
 public:
  // `scene` with `fills` over the rows of `grid`, in its top `deviceRows` rows.
  const QImage& Compose(const QImage& scene, const Geometry& grid, const RowFills& fills,
                        int deviceRows);

 private:
  struct Composed {
    qint64 scene = 0;  // the scene's cache key, which changes whenever the scene is drawn on
    Geometry grid;
    int deviceRows = 0;
    RowFills fills;
  };
  void ComposeAll(const QImage& scene, const Geometry& grid, const RowFills& fills, int deviceRows);
  void ComposeRow(const QImage& scene, const Geometry& grid, int row, std::optional<QRgb> fill,
                  int deviceRows);

  QImage m_surface;
  std::optional<Composed> m_composed;
};

}  // namespace verbaro::grid
