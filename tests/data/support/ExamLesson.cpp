#include "ExamLesson.h"

#include <gtest/gtest.h>
#include <algorithm>

#include "data/ExamRandom.h"

namespace verbaro::test {

ExamLesson::ExamLesson(bool bReversed) : rules(*this, &clock), reversed(bReversed) {
  m_bExamMode = 1;
  m_bContraVersa = reversed ? 1 : 0;
  m_bIsSound = 0;
}

bool ExamLesson::Open(std::vector<WordsData> rows) {
  rules.Reset();
  m_bPlayOnPaint = 1;
  StopSound();
  m_vWordsData = std::move(rows);
  return reversed ? rules.SetAltWordsData() : rules.SetWordsData();
}

void ExamLesson::Repaint() {
  RecordingLesson::Repaint();
  // A repaint numbers the answer cells it shows and keeps the last count when it shows none.
  if (!SetUserData()) return;
  AdvanceRecording();
  if (!m_vwsAltWords.empty())
    m_numberedCells = std::min<int32_t>(static_cast<int32_t>(m_vwsAltWords.size()), m_nMaxAltWords);
}

void ExamLesson::UseDraw(const std::function<bool(int)>& predicate) {
  for (int64_t second = clock.seconds; second < clock.seconds + 100000; ++second) {
    if (predicate(ExamRandom(static_cast<uint32_t>(second)).Next())) {
      clock.seconds = second;
      return;
    }
  }
  ADD_FAILURE() << "no second gives the wanted draw";
}

int ExamLesson::WrongCell() const {
  for (int k = 1; k <= static_cast<int>(m_vwsAltWords.size()); ++k)
    if (k != RightCell()) return k;
  return 0;
}

int ExamLesson::RightAnswerErrors() const {
  return rules.m_vCopyWordsData.at(rules.m_nTrueRandIndex).vnWordErrors.at(m_nTrueInd);
}

std::vector<std::u16string> ExamLesson::Texts() const {
  std::vector<std::u16string> texts;
  for (const ShownMessage& message : messages) texts.push_back(message.text);
  return texts;
}

}  // namespace verbaro::test
