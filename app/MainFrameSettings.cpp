// CMainFrame: the learner's settings that stay between starts. Each change is written as it is
// made, so a program that is killed keeps it too.
#include <QStatusBar>
#include <QToolBar>
#include <utility>

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/UserSettings.h"
#include "views/WordsView.h"

namespace verbaro {

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
