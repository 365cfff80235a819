#pragma once
// What the trainer keeps of the learner's study, as the views report it: where each mode was
// left and the lesson opened last (in the settings, so that the next start resumes there), and
// every graded answer, exposure and exam result (in the progress store), from which the review
// filters come. Either may be absent: then that part is simply not kept.
//
// Events are written after the key or click that caused them has been handled (queued on the
// event loop), so a keystroke never waits for the store.
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/StudyMode.h"
#include "data/progress/LessonEntries.h"
#include "data/progress/ProgressStore.h"
#include "views/StudyEvents.h"

namespace verbaro {

class UserSettings;

class LearnerMemory : public StudyEvents {
 public:
  LearnerMemory(UserSettings* settings, progress::ProgressStore* store);
  // Writes what is still waiting.
  ~LearnerMemory() override;
  // Writes the events waiting for the event loop now.
  void Flush();

  // Called with the store's notice (why progress is not being saved) when one comes up while
  // the learner studies; at a lesson's opening the frame asks with TakeNotice instead.
  void OnStudyNotice(std::function<void(const std::u16string&)> notice) {
    m_onStudyNotice = std::move(notice);
  }
  std::u16string TakeNotice();

  // A lesson was opened in a mode's view (by hand, from the command line or remembered).
  void LessonOpened(int modeIndex, const CWordsView& view);
  // The progress of the mode's lesson (null without a store or a lesson).
  progress::LessonProgress* LessonOf(int modeIndex) const;

  void LessonRead(int modeIndex, const CWordsView& view) override;
  void EntryShown(int modeIndex, const CWordsView& view) override;
  void EntryTyped(int modeIndex, const CWordsView& view,
                  const progress::TypingResult& result) override;
  void ExamAnswered(int modeIndex, const AskedEntry& asked, progress::ExamAnswer answer) override;
  void ExamFinished(int modeIndex, const progress::ExamResult& result) override;
  ReviewLists Review(int modeIndex, const CWordsView& view) override;

 private:
  struct Lesson {
    std::shared_ptr<progress::LessonEntries> entries;
    std::shared_ptr<progress::LessonProgress> progress;
  };
  const Lesson* LessonFor(int modeIndex) const;
  // Runs `write` on the lesson's progress once the current event has been handled.
  void Later(const Lesson& lesson, std::function<void(progress::LessonProgress&)> write);

  UserSettings* m_settings;
  progress::ProgressStore* m_store;
  std::array<Lesson, kModeCount> m_lessons;
  std::function<void(const std::u16string&)> m_onStudyNotice;
  std::vector<std::function<void()>> m_pending;
  QObject m_context;  // ends the queued flush with the memory
};

}  // namespace verbaro
