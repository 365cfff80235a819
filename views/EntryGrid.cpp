#include "views/EntryGrid.h"

#include <algorithm>

#include "data/LessonState.h"
#include "platform/Text.h"

namespace verbaro::grid {

Geometry Geometry::Of(const QRect& client) {
  return {client.width() * 5 / 100, client.width() * 90 / 100, client.height() / kRows};
}

std::u16string GrammarText(const std::u16string& gram, const std::u16string& number) {
  return number == u"p" ? gram + u", pl" : gram;
}

std::u16string StatusText(const CLessonState& state) {
  if (state.m_bExamMode) {
    return u"Правильно: " + ToU16(state.m_nRightAnswers) + u"; Неправильно: " +
           ToU16(state.m_nWrongAnswers) + u"; Осталось: " + ToU16(state.m_nTotalCountAltWords) +
           u"; Подсказок: " + ToU16(state.m_nHints);
  }
  return ToU16(state.m_nUserFilterIndex + 1) + u" / " + ToU16(state.m_vUserIndexes.size());
}

int FittedPointSize(int width, int height, int64_t sumWidth, int maxHeight, int percent) {
  if (sumWidth <= 0) return 0;
  int64_t size = std::min<int64_t>(height, int64_t{width} * maxHeight / sumWidth) * 46 / 100;
  if (percent != kFullSize) size = size * percent / 100;
  return static_cast<int>(std::max<int64_t>(size, 0));
}

}  // namespace verbaro::grid
