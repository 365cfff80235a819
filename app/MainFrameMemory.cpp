// CMainFrame: what stays between starts, the learner's settings and where each mode was left.
// Each change is written as it is made, so a program that is killed keeps it too.
#include <QLabel>
#include <QStackedWidget>
#include <QStatusBar>

#include <QToolBar>
#include <utility>
#include "data/progress/ProgressStore.h"

#include "app/Commands.h"
#include "app/LearnerMemory.h"
#include "app/MainFrame.h"
#include "app/ModeTable.h"
#include "app/UserSettings.h"
#include "data/DiagnosticLog.h"
#include "platform/QtText.h"
#include "views/WordsView.h"

namespace verbaro {

void CMainFrame::UseSettings(UserSettings* settings) {
  m_settings = settings;
  MakeMemory();
}

void CMainFrame::UseProgressStore(progress::ProgressStore* store) {
  m_store = store;
  MakeMemory();
}

void CMainFrame::MakeMemory() {
  m_memory = m_settings || m_store ? std::make_unique<LearnerMemory>(m_settings, m_store) : nullptr;
  if (m_memory) {
    // While the learner studies no box interrupts: the reason shows in the status bar.
    m_memory->OnStudyNotice(
        [this](const std::u16string& notice) { statusBar()->showMessage(ToQ(notice)); });
  }
  for (size_t i = 0; i < m_views.size(); ++i) {
    m_views[i]->SetStudyEvents(m_memory.get(), static_cast<int>(i));
  }
}

progress::LessonProgress* CMainFrame::LessonProgressOf(int modeIndex) const {
  return m_memory ? m_memory->LessonOf(modeIndex) : nullptr;
}

void CMainFrame::ForgetProgress() {
  CWordsView* view = CurrentView();
  const int modeIndex = CurrentModeIndex();
  progress::LessonProgress* lesson = LessonProgressOf(modeIndex);
  if (!view || !lesson) {
    m_platform.messages->Show(this, QStringLiteral("Информация"),
                              QStringLiteral("Требуется загрузка данных!"));
    return;
  }
  const CWordsView::TickHold hold(view);
  const QString question =
      QStringLiteral(
          "Забыть прогресс урока?\n%1\n\nОтветы, расписание повторений и результаты "
          "экзаменов этого урока будут удалены во всех режимах.")
          .arg(ToQ(view->m_szDataFile));
  if (!m_platform.messages->Ask(this, QStringLiteral("Прогресс урока"), question)) return;
  m_memory->Flush();
  lesson->Forget();
  // The review filters of the lesson are gone with it.
  view->BuildFilterMenu();
  if (const std::u16string notice = m_memory->TakeNotice(); !notice.empty()) {
    m_platform.messages->Show(this, QStringLiteral("Информация"), ToQ(notice));
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
    view->SetResumePoint(
        ResumePoint{place.filterId, place.position, FromQ(place.keyWord), place.occurrence});
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
  if (!m_memory || modeIndex < 0) return;
  m_memory->LessonOpened(modeIndex, *View(modeIndex));
  RememberMode(modeIndex);
  RequestSync();
  // Why progress is not being saved is told once, as a lesson opens: never in the middle of a
  // word being typed.
  if (const std::u16string notice = m_memory->TakeNotice(); !notice.empty()) {
    m_platform.messages->Show(this, QStringLiteral("Информация"), ToQ(notice));
  }
}

void CMainFrame::RememberMode(int modeIndex) {
  // Only a learner who has opened a lesson has a place to come back to: until then switching
  // modes writes nothing, and the next start is a first start again.
  if (m_settings && !m_settings->LastLesson().isEmpty()) m_settings->SetLastMode(modeIndex);
}

void CMainFrame::StartInLastMode() {
  if (!m_settings || m_settings->LastLesson().isEmpty()) return;
  const int modeIndex = m_settings->LastMode();
  if (modeIndex < 0 || modeIndex == CurrentModeIndex()) return;
  // As the mode switch, before the window is shown: the mode's lesson opens once it is.
  CreateViewWindow(modeIndex);
  m_client->setCurrentWidget(View(modeIndex));
  View(modeIndex)->setFocus();
  m_statusLabel->setText(ModeTable()[static_cast<size_t>(modeIndex)].statusText);
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
