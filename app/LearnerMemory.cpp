#include "app/LearnerMemory.h"

#include "app/UserSettings.h"
#include "platform/QtText.h"
#include "views/WordsView.h"

namespace verbaro {

void LearnerMemory::LessonOpened(int modeIndex, const CWordsView& view) {
  const QString path = ToQ(view.m_szDataFile);
  m_settings.SetLastLesson(path);
  // An Exam starts afresh on its lesson: only the file is kept. The other modes have told their
  // place already, as they showed it.
  if (!view.ShownPlace()) m_settings.SetResume(modeIndex, {path, 0, 0, QString()});
}

void LearnerMemory::EntryShown(int modeIndex, const CWordsView& view) {
  const std::optional<ResumePoint> place = view.ShownPlace();
  if (!place || view.m_szDataFile.empty()) return;
  m_settings.SetResume(modeIndex, {ToQ(view.m_szDataFile), place->filterId, place->position,
                                   ToQ(place->keyWord)});
}

}  // namespace verbaro
