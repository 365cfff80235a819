#include "progressview/KeyboardHeatmap.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "progressview/StatisticsColours.h"

namespace verbaro {

namespace {

constexpr qreal kGap = 3;
// Each row of a keyboard starts a third of a key further right than the one above.
constexpr qreal kStagger = 1.0 / 3.0;
// The smallest count drawn on a key, in pixels; a smaller one only the tooltip tells.
constexpr int kSmallestCount = 6;
// Keys grow with the box up to this side, in pixels.
constexpr qreal kLargestKey = 44;

// «3 раза», «5 раз», «21 раз».
QString TimesText(int count) {
  const int lastTwo = count % 100;
  const int last = lastTwo % 10;
  const bool few = last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14);
  return QString::number(count) + (few ? QStringLiteral(" раза") : QStringLiteral(" раз"));
}

}  // namespace

KeyboardHeatmap::KeyboardHeatmap(QWidget* parent) : QWidget(parent) {
  // It takes the width its box offers, keys up to kLargestKey.
  QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
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
  for (size_t row = 0; row < m_rows.size(); ++row) widest = std::max(widest, m_rows[row].size());
  return widest;
}

qreal KeyboardHeatmap::KeySide(int width) const {
  // Room for the widest row and the stagger of the lowest row.
  const qreal units = static_cast<qreal>(WidestRow()) +
                      kStagger * std::max<int>(0, static_cast<int>(m_rows.size()) - 1);
  return std::clamp<qreal>((width - 1) / units - kGap, 8.0, kLargestKey);
}

qreal KeyboardHeatmap::KeySide() const {
  // A box lower than the keyboard wants makes the keys smaller, never cut off.
  const qreal rows = static_cast<qreal>(std::max<size_t>(m_rows.size(), 1));
  return std::max<qreal>(8.0, std::min(KeySide(width()), (height() - 1) / rows - kGap));
}

int KeyboardHeatmap::heightForWidth(int width) const {
  const qreal side = KeySide(width);
  return static_cast<int>(std::max<size_t>(m_rows.size(), 1) * (side + kGap) + 1);
}

QSize KeyboardHeatmap::sizeHint() const { return QSize(720, heightForWidth(720)); }
QSize KeyboardHeatmap::minimumSizeHint() const { return QSize(260, heightForWidth(260)); }

QRectF KeyboardHeatmap::KeyRect(char16_t character) const {
  const qreal side = KeySide();
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

int KeyboardHeatmap::MissesOf(char16_t character) const {
  const auto found = m_misses.find(character);
  return found == m_misses.end() ? 0 : found->second;
}

KeyboardHeatmap::KeyFaces KeyboardHeatmap::FacesOf(char16_t character) const {
  const QRectF key = KeyRect(character);
  if (key.isEmpty()) return {};
  const int count = MissesOf(character);
  if (count <= 0) return {key, QRectF(), 0};
  // The letter in the upper half, the count in the lower: on a small key a count in a corner
  // would run over the letter.
  const qreal inset = std::max<qreal>(1.0, key.width() / 12);
  KeyFaces faces;
  faces.letter = QRectF(key.left(), key.top(), key.width(), key.height() * 0.55);
  faces.count = QRectF(key.left() + inset, faces.letter.bottom(), key.width() - 2 * inset,
                       key.bottom() - faces.letter.bottom() - inset / 2);
  const QString text = QString::number(count);
  QFont countFont = font();
  for (int pixels = static_cast<int>(faces.count.height()); pixels >= kSmallestCount; --pixels) {
    countFont.setPixelSize(pixels);
    const QFontMetricsF metrics(countFont);
    if (metrics.horizontalAdvance(text) <= faces.count.width() &&
        metrics.capHeight() <= faces.count.height()) {
      faces.countPixels = pixels;
      break;
    }
  }
  return faces;
}

QString KeyboardHeatmap::ToolTipAt(QPointF point) const {
  for (const std::u16string& row : m_rows) {
    for (const char16_t character : row) {
      if (!KeyRect(character).contains(point)) continue;
      const QString letter = QString(QChar(character));
      const int count = MissesOf(character);
      return count > 0 ? QStringLiteral("«%1»: набрано другое %2").arg(letter, TimesText(count))
                       : QStringLiteral("«%1»: ошибок нет").arg(letter);
    }
  }
  return {};
}

bool KeyboardHeatmap::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = ToolTipAt(help->pos());
    if (tip.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
  }
  return QWidget::event(event);
}

void KeyboardHeatmap::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal side = KeySide();
  QFont keyFont = font();
  keyFont.setPixelSize(std::max(8, static_cast<int>(side * 0.45)));
  QFont missedKeyFont = font();
  missedKeyFont.setPixelSize(std::max(7, static_cast<int>(side * 0.4)));
  QFont countFont = font();

  for (const std::u16string& row : m_rows) {
    for (const char16_t character : row) {
      const QRectF key = KeyRect(character);
      const double heat = HeatOf(character);
      painter.setPen(QPen(QColor(0x9A, 0x9A, 0x9A), 1));
      painter.setBrush(colours::MissHeat(heat));
      painter.drawRoundedRect(key.adjusted(0.5, 0.5, -0.5, -0.5), side / 8, side / 8);
      // Light text on the hottest keys keeps the letter readable.
      painter.setPen(heat > 0.55 ? QColor(Qt::white) : QColor(0x20, 0x20, 0x20));
      const KeyFaces faces = FacesOf(character);
      painter.setFont(faces.count.isEmpty() ? keyFont : missedKeyFont);
      painter.drawText(faces.letter, Qt::AlignCenter | Qt::TextDontClip,
                       QString(QChar(character)).toUpper());
      if (faces.countPixels > 0) {
        countFont.setPixelSize(faces.countPixels);
        painter.setFont(countFont);
        painter.drawText(faces.count, Qt::AlignCenter, QString::number(MissesOf(character)));
      }
    }
  }
}

}  // namespace verbaro
