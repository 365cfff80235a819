// CMainFrame: what stays between starts, the learner's settings and where each mode was left.
// Each change is written as it is made, so a program that is killed keeps it too.
#include <QStatusBar>
#include <QToolBar>
#include <utility>

#include "app/Commands.h"
#include "app/LearnerMemory.h"
#include "app/MainFrame.h"
#include "app/UserSettings.h"
#include "data/DiagnosticLog.h"
#include "platform/QtText.h"
#include "views/WordsView.h"

namespace verbaro {

void CMainFrame::UseSettings(UserSettings* settings) {
  m_settings = settings;
  m_memory = settings ? std::make_unique<LearnerMemory>(*settings) : nullptr;
  for (size_t i = 0; i < m_views.size(); ++i) {
    m_views[i]->SetStudyEvents(m_memory.get(), static_cast<int>(i));
  }
}

void CMainFrame::OpenRememberedLesson(int modeIndex) {
  if (!m_settings) return;
  CWordsView* view = View(modeIndex);
  const ResumePlace place = m_settings->Resume(modeIndex);
  const bool ownLesson = !place.lesson.isEmpty();
  const QString path = ownLesson ? place.lesson : m_settings->LastLesson();
  if (path.isEmpty()) return;
  if (ownLesson) {
    view->SetResumePoint(ResumePoint{place.filterId, place.position, FromQ(place.keyWord)});
  }
  bool opened = false;
  {
    const QuietMessageBoxes::Quiet quiet(m_quietMessages);
    m_startLesson.ArmWith(path);
    opened = view->OpenLesson();
    m_startLesson.Disarm();
  }
  if (opened) {
    NoteLessonOpened(modeIndex);
    return;
  }
  if (m_platform.log) m_platform.log->Line(u"Запомненный урок не открыт: ", FromQ(path));
  view->ForgetLesson();
}

void CMainFrame::NoteLessonOpened(int modeIndex) {
  if (m_memory && modeIndex >= 0) m_memory->LessonOpened(modeIndex, *View(modeIndex));
}

void CMainFrame::ApplyFrameSettings() {
  if (!m_settings) return;
  // Applying what is kept changes nothing to keep: the switches below write nothing meanwhile.
  UserSettings* settings = std::exchange(m_settings, nullptr);
  const bool toolBar = settings->ToolBarVisible();
  const bool statusBarShown = settings->StatusBarVisible();
  const QByteArray geometry = settings->WindowGeometry();
  if (toolBar != s_bToolBarVisible) ToggleToolBar();
  if (statusBarShown == statusBar()->isHidden()) ToggleStatusBar();
  // A place that no screen shows any more is refused by restoreGeometry, which then keeps the
  // place of a first start.
  if (!geometry.isEmpty()) restoreGeometry(geometry);
  m_settings = settings;
}

void CMainFrame::RememberFrameSettings() {
  if (!m_settings) return;
  m_settings->SetToolBarVisible(s_bToolBarVisible);
  m_settings->SetStatusBarVisible(!statusBar()->isHidden());
  m_settings->SetWindowGeometry(saveGeometry());
}

void CMainFrame::ApplyModeSettings(int modeIndex) {
  CWordsView* view = View(modeIndex);
  if (!m_settings || !view) return;
  view->m_bIsSound = m_settings->SoundOn(modeIndex) ? 1 : 0;
  const VideoSettings video = m_settings->Video(modeIndex);
  view->m_nPhraseDelay = static_cast<int32_t>(video.delay);
  view->m_nPhraseRepeats = static_cast<int32_t>(video.repeats);
}

void CMainFrame::RememberModeSettings(int modeIndex) {
  if (!m_settings || modeIndex < 0) return;
  const CWordsView* view = View(modeIndex);
  if (!view) return;
  m_settings->SetSoundOn(modeIndex, view->m_bIsSound != 0);
  if (view->m_bVideoMode) {
    m_settings->SetVideo(modeIndex, {static_cast<uint32_t>(view->m_nPhraseDelay),
                                     static_cast<uint32_t>(view->m_nPhraseRepeats)});
  }
}

}  // namespace verbaro
