#pragma once
// What happens in a study view that the trainer may keep. The views only say what happened; the
// frame decides what is kept and where. Each call comes once per happening, never per repaint.
#include <cstdint>
#include <string>
#include <vector>

#include "data/progress/ProgressTypes.h"

namespace verbaro {

class CWordsView;

// The place a view shows: its filter (the command id of the Filters item), the position in that
// filter, the head word of the entry there and which of the records with that head word it is
// (HeadWordOccurrence; -1 when not known).
struct ResumePoint {
  int filterId = 0;
  int32_t position = 0;
  std::u16string keyWord;
  int32_t occurrence = -1;
};

// The entry an exam question asked: its head word with grammar and number, and the right answer.
struct AskedEntry {
  std::u16string keyWord;
  std::u16string gram;
  std::u16string number;
  std::u16string answer;
};

// The review filters of a view's lesson: its records (indexes in m_vWordsData) in the order the
// learner should meet them.
struct ReviewLists {
  std::vector<int32_t> missed;
  std::vector<int32_t> due;
  std::vector<int32_t> hard;  // the hardest entries, hardest first
};

class StudyEvents {
 public:
  virtual ~StudyEvents() = default;
  // The view has read the rows of its lesson file (m_vWordsData holds them, one record per row,
  // before any merging or reversal).
  virtual void LessonRead(int modeIndex, const CWordsView& view) = 0;
  // A Conspect or Video view of mode `modeIndex` shows another entry (or the same one after a
  // new lesson or filter).
  virtual void EntryShown(int modeIndex, const CWordsView& view) = 0;
  // The shown entry of a Conspect view was typed through to its end.
  virtual void EntryTyped(int modeIndex, const CWordsView& view,
                          const progress::TypingResult& result) = 0;
  // The first choice made for an exam question.
  virtual void ExamAnswered(int modeIndex, const AskedEntry& asked,
                            progress::ExamAnswer answer) = 0;
  // An exam ended with its statistics box.
  virtual void ExamFinished(int modeIndex, const progress::ExamResult& result) = 0;
  // The review filters for the view's records as they are now.
  virtual ReviewLists Review(int modeIndex, const CWordsView& view) = 0;
};

}  // namespace verbaro
