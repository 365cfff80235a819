#include "progressview/KeyboardHeatmap.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "progressview/StatisticsColours.h"

namespace verbaro {

namespace {

constexpr qreal kGap = 3;
// Each row of a keyboard starts a third of a key further right than the one above.
constexpr qreal kStagger = 1.0 / 3.0;

}  // namespace

KeyboardHeatmap::KeyboardHeatmap(QWidget* parent) : QWidget(parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

void KeyboardHeatmap::SetKeys(std::vector<std::u16string> rows, std::map<char16_t, int> misses) {
  m_rows = std::move(rows);
  m_misses = std::move(misses);
  m_most = 0;
  for (const auto& [character, count] : m_misses) m_most = std::max(m_most, count);
  updateGeometry();
  update();
}

size_t KeyboardHeatmap::WidestRow() const {
  size_t widest = 1;
  for (size_t row = 0; row < m_rows.size(); ++row)
    widest = std::max(widest, m_rows[row].size());
  return widest;
}

qreal KeyboardHeatmap::KeySide(int width) const {
  // Room for the widest row and the stagger of the lowest row.
  const qreal units = static_cast<qreal>(WidestRow()) + kStagger * std::max<int>(0, static_cast<int>(m_rows.size()) - 1);
  return std::max<qreal>(8.0, (width - 1) / units - kGap);
}

int KeyboardHeatmap::heightForWidth(int width) const {
  const qreal side = KeySide(width);
  return static_cast<int>(std::max<size_t>(m_rows.size(), 1) * (side + kGap) + 1);
}

QSize KeyboardHeatmap::sizeHint() const { return QSize(440, heightForWidth(440)); }
QSize KeyboardHeatmap::minimumSizeHint() const { return QSize(260, heightForWidth(260)); }

QRectF KeyboardHeatmap::KeyRect(char16_t character) const {
  const qreal side = KeySide(width());
  for (size_t row = 0; row < m_rows.size(); ++row) {
    const size_t column = m_rows[row].find(character);
    if (column == std::u16string::npos) continue;
    const qreal left = row * kStagger * (side + kGap) + column * (side + kGap);
    return QRectF(left, row * (side + kGap), side, side);
  }
  return {};
}

double KeyboardHeatmap::HeatOf(char16_t character) const {
  const auto found = m_misses.find(character);
  if (found == m_misses.end() || m_most <= 0) return 0.0;
  return static_cast<double>(found->second) / m_most;
}

void KeyboardHeatmap::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal side = KeySide(width());
  QFont keyFont = font();
  keyFont.setPixelSize(std::max(8, static_cast<int>(side * 0.45)));
  QFont countFont = font();
  countFont.setPixelSize(std::max(7, static_cast<int>(side * 0.26)));

  for (const std::u16string& row : m_rows) {
    for (const char16_t character : row) {
      const QRectF key = KeyRect(character);
      const double heat = HeatOf(character);
      painter.setPen(QPen(QColor(0x9A, 0x9A, 0x9A), 1));
      painter.setBrush(colours::MissHeat(heat));
      painter.drawRoundedRect(key.adjusted(0.5, 0.5, -0.5, -0.5), side / 8, side / 8);
      // Light text on the hottest keys keeps the letter readable.
      painter.setPen(heat > 0.55 ? QColor(Qt::white) : QColor(0x20, 0x20, 0x20));
      painter.setFont(keyFont);
      painter.drawText(key, Qt::AlignCenter, QString(QChar(character)).toUpper());
      const auto found = m_misses.find(character);
      if (found != m_misses.end() && found->second > 0) {
        painter.setFont(countFont);
        painter.drawText(key.adjusted(2, 1, -3, -1), Qt::AlignRight | Qt::AlignBottom,
                         QString::number(found->second));
      }
    }
  }
}

}  // namespace verbaro
