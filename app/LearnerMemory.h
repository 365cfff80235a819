#pragma once
// What the trainer keeps of the learner's study, as the views report it: where each mode was
// left (in the settings, so that the next start resumes there) and the lesson opened last.
#include <QString>

#include "views/StudyEvents.h"

namespace verbaro {

class UserSettings;

class LearnerMemory : public StudyEvents {
 public:
  explicit LearnerMemory(UserSettings& settings) : m_settings(settings) {}

  // A lesson was opened in a mode's view (by hand, from the command line or remembered).
  void LessonOpened(int modeIndex, const CWordsView& view);

  void EntryShown(int modeIndex, const CWordsView& view) override;

 private:
  UserSettings& m_settings;
};

}  // namespace verbaro
