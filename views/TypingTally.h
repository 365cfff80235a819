#pragma once
// What the learner did while typing one entry of a Conspect view: the keystrokes that turned a
// right line wrong (with the character wanted and the one typed), the time from the entry's
// showing and what was on screen meanwhile, until the entry is typed through to its end, which
// is told once.
#include <QElapsedTimer>
#include <optional>
#include <string>

#include "data/NoLetterMarks.h"
#include "data/progress/ProgressTypes.h"

namespace verbaro {

class TypingTally {
 public:
  // `marks` tells what the marks of a typed text show; a missed character is kept as shown.
  explicit TypingTally(const NoLetterMarks& marks) : m_marks(marks) {}

  // The entry is shown: a new tally starts.
  void Start();
  // What the screen shows now: the word block, and the translations the word is recalled from.
  // Told at every repaint; the word seen once, a peek included, makes the typing practice.
  void Seen(bool word, bool translations);
  // One typed character: `expected` is the entry's text, `typed` the line after the key,
  // `matchedBefore` and `matchesNow` whether the line was right before and after it.
  // Returns the result when this key typed the entry through to its end the first time.
  std::optional<progress::TypingResult> Key(const std::u16string& expected,
                                            const std::u16string& typed, bool matchedBefore,
                                            bool matchesNow);

 private:
  const NoLetterMarks& m_marks;
  progress::TypingResult m_result;
  QElapsedTimer m_clock;
  bool m_told = false;
  bool m_wordSeen = false;
  bool m_translationsSeen = false;
};

}  // namespace verbaro
