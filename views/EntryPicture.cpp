#include "views/EntryPicture.h"

#include <algorithm>

#include "data/KeyTranslation.h"
#include "data/LessonState.h"
#include "data/NoLetterMarks.h"
#include "data/TypingCheck.h"

namespace verbaro::grid {

TypingLine TypingLineOf(std::u16string_view expected, std::u16string_view typed, bool matches,
                        const NoLetterMarks& marks) {
  TypingLine line{marks.Shown(typed), matches, {}};
  if (IsTypedThrough(expected, typed)) {
    line.marks.typedThrough = true;
    return line;
  }
  if (matches) return line;
  size_t wrong = FirstWrongUnit(expected, typed);
  // A key that did not combine matches no text, also where it stands inside the typed word.
  if (wrong == std::u16string_view::npos) wrong = typed.find(kNoLetterMark);
  if (wrong == std::u16string_view::npos) return line;
  line.marks.wrongIndex = marks.ShownIndex(typed, wrong);
  line.marks.wrongLength = std::max<size_t>(marks.ShownLength(typed, wrong), 1);
  return line;
}

std::optional<QRgb> CellFill(const LessonState& state, std::optional<QRgb> fill, int number) {
  if (state.m_showTrueAnswer && state.m_bExamMode && number == state.m_trueCellIndex + 1) {
    return kAnswerHighlight;
  }
  return fill;
}

EntryPicture PictureOf(const LessonState& state, const std::optional<TypingLine>& typing,
                       bool silent) {
  EntryPicture picture;
  auto add = [&](int row, std::u16string text, std::optional<QRgb> fill,
                 std::optional<QRgb> textColor, int number, bool frame, int percent) {
    picture.cells.push_back(
        {row, std::move(text), CellFill(state, fill, number), textColor, number, frame, percent});
  };
  if (!state.m_bHideHeader) {
    add(0, GrammarText(state.m_wsFrGram, state.m_wsFrNumber), std::nullopt, kLightText, 0, false,
        kFullSize);
    add(1, state.m_wsKeyWord, kCellFill, kBlueText, 0, true, kFullSize);
    add(2, state.m_wsInfo1, kCellFill, kRedText, 0, true, kFullSize);
    add(3, state.m_wsInfo2, kCellFill, kBlueText, 0, true, kFullSize);
    add(4, state.m_wsInfo3, kCellFill, kRedText, 0, true, kFullSize);
  }
  if (typing) {
    add(kTypingRow, typing->shown + u'|', kTypingFill, typing->matches ? kTypedText : kTypingError,
        0, true, kFullSize);
    picture.typingMarks = typing->marks;
    picture.errorSignal = !typing->matches;
  }

  if (state.m_vwsAltWords.empty()) return picture;
  if (!state.m_bHidePerevod) {
    const int shown =
        std::min<int>(state.m_nMaxAltWords, static_cast<int>(state.m_vwsAltWords.size()));
    for (int i = 0; i < shown; ++i) {
      add(kFirstTranslationRow + i, state.m_vwsAltWords[static_cast<size_t>(i)], kTranslationFill,
          kLightText, i + 1, true, kFullSize);
    }
  }
  picture.status = StatusText(state);
  add(kFirstTranslationRow + state.m_nMaxAltWords, *picture.status, std::nullopt, kCellFill, 0,
      false, kStatusSize);
  picture.soundEntry = !silent;
  return picture;
}

RowFills FillsOf(const EntryPicture& picture) {
  RowFills fills;
  for (const Cell& cell : picture.cells) {
    if (cell.row >= 0 && cell.row < kRows) fills[static_cast<size_t>(cell.row)] = cell.fill;
  }
  return fills;
}

}  // namespace verbaro::grid
