#include "views/FilledScene.h"

#include <QPainter>
#include <cmath>

#include "views/SurfaceRows.h"

namespace verbaro::grid {

namespace {

void FillRow(QPainter& painter, const Geometry& grid, int row, QRgb fill) {
  painter.fillRect(QRect(grid.x, grid.RowY(row), grid.width, grid.rowHeight),
                   QColor::fromRgba(fill));
}

}  // namespace

const QImage& FilledScene::Compose(const QImage& scene, const Geometry& grid, const RowFills& fills,
                                   int deviceRows) {
  if (m_surface.size() != scene.size() || m_surface.format() != scene.format()) {
    m_surface = QImage(scene.size(), scene.format());
    m_composed.reset();
  }
  m_surface.setDevicePixelRatio(scene.devicePixelRatio());
  const qreal ratio = scene.devicePixelRatio();
  const bool sameLayout = m_composed && m_composed->scene == scene.cacheKey() &&
                          m_composed->grid == grid && m_composed->deviceRows == deviceRows;
  // A row is composed again on its own only where the rows cover whole device rows each: with
  // a fractional ratio two rows may share one.
  if (sameLayout && ratio == std::round(ratio)) {
    for (int row = 0; row < kRows; ++row) {
      const auto i = static_cast<size_t>(row);
      if (fills[i] != m_composed->fills[i]) ComposeRow(scene, grid, row, fills[i], deviceRows);
    }
  } else if (!sameLayout || fills != m_composed->fills) {
    ComposeAll(scene, grid, fills, deviceRows);
  }
  m_composed = Composed{scene.cacheKey(), grid, deviceRows, fills};
  return m_surface;
}

void FilledScene::ComposeAll(const QImage& scene, const Geometry& grid, const RowFills& fills,
                             int deviceRows) {
  CopyTopRows(scene, m_surface, deviceRows);
  QPainter painter(&m_surface);
  for (int row = 0; row < kRows; ++row) {
    if (const std::optional<QRgb> fill = fills[static_cast<size_t>(row)]) {
      FillRow(painter, grid, row, *fill);
    }
  }
}

void FilledScene::ComposeRow(const QImage& scene, const Geometry& grid, int row,
                             std::optional<QRgb> fill, int deviceRows) {
  const auto ratio = static_cast<int>(std::round(scene.devicePixelRatio()));
  const int first = grid.RowY(row) * ratio;
  CopyRows(scene, m_surface, first, std::min(grid.rowHeight * ratio, deviceRows - first));
  if (!fill) return;
  QPainter painter(&m_surface);
  FillRow(painter, grid, row, *fill);
}

}  // namespace verbaro::grid
