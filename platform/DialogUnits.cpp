#include "platform/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <cstdint>

namespace verbaro {

namespace {

// units x base / divisor, rounded to the nearest whole number, halves away from zero.
int Scaled(int units, int base, int divisor) {
  const int64_t product = int64_t{units} * base;
  const int64_t magnitude = ((product < 0 ? -product : product) * 2 + divisor) / (2 * divisor);
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

int AverageLetterWidth(const QFontMetrics& metrics) {
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return (letters / 26 + 1) / 2;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : m_baseX(AverageLetterWidth(QFontMetrics(font))), m_baseY(QFontMetrics(font).height()) {}

int DialogUnits::X(int units) const { return Scaled(units, m_baseX, 4); }

int DialogUnits::Y(int units) const { return Scaled(units, m_baseY, 8); }

}  // namespace verbaro
