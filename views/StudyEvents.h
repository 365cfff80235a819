#pragma once
// What happens in a study view that the trainer may keep. The views only say what happened; the
// frame decides what is kept and where. Each call comes once per happening, never per repaint.
#include <cstdint>
#include <string>

namespace verbaro {

class CWordsView;

// The place a view shows: its filter (the command id of the Filters item), the position in that
// filter and the head word of the entry there.
struct ResumePoint {
  int filterId = 0;
  int32_t position = 0;
  std::u16string keyWord;
};

class StudyEvents {
 public:
  virtual ~StudyEvents() = default;
  // A Conspect or Video view of mode `modeIndex` shows another entry (or the same one after a
  // new lesson or filter).
  virtual void EntryShown(int modeIndex, const CWordsView& view) = 0;
};

}  // namespace verbaro
