// CWordsView: opening a lesson, the Filters menu, and the sound of the current entry.

#include "data/DiagnosticLog.h"
#include "platform/ErrorSignal.h"
#include "platform/FileChooser.h"
#include "platform/QtText.h"
#include "platform/ViewTimer.h"
#include "sound/Mp3Player.h"
#include "views/WordsView.h"

namespace verbaro {

// ---- lesson loading ----

std::optional<std::u16string> CWordsView::OpenDataFileDialog() {
  const std::optional<QString> path = m_platform.files->ChooseLessonFile(this);
  if (!path) return std::nullopt;
  return FromQ(*path);
}

bool CWordsView::OpenLesson() {
  std::optional<std::u16string> path;
  {
    const TickHold hold(this);
    path = OpenDataFileDialog();
  }
  if (!path) return false;
  m_szDataFile = std::move(*path);
  return LoadLesson();
}

bool CWordsView::ReloadData(bool bBuildFilters) {
  StopPlayback(1);
  StopSound();
  if (!LoadWordsData()) return false;
  if (!bBuildFilters) return true;
  if (!CreateUserFilters() || !BuildFilterMenu()) return false;
  if (m_bExamMode) return true;
  SelectUserFilter(kFirstFilterCommand, u"");
  return true;
}

bool CWordsView::LoadLesson() { return ReloadData(true); }

bool CWordsView::BuildFilterMenu() {
  if (!m_pFilterMenu) {
    ShowError(u"Нет доступа к меню!");
    return false;
  }
  m_pFilterMenu->Fill(FilterMenuItems());
  return true;
}

// ---- sound ----

bool CWordsView::PlayCurrentSound() {
  if (!m_bIsSound) return false;
  const uint8_t* mp3 = nullptr;
  int size = 0;
  if (m_pMp3Word && m_nMp3WordSize > 0) {
    mp3 = m_pMp3Word->data();
    size = std::min<int>(m_nMp3WordSize, static_cast<int>(m_pMp3Word->size()));
  }
  const std::optional<unsigned> period = m_pPlayer->PlayRecording(mp3, size, this);
  if (!period) return false;
  m_bTickWaiting = false;  // this recording's own end replaces a tick that waited
  // The Video views pause between phrases after each recording.
  const unsigned delay = m_bVideoMode && m_nPhraseDelay > 0 ? unsigned(m_nPhraseDelay) : 0u;
  m_pTimer->Start(*period + delay);
  return true;
}

void CWordsView::ToggleSound() {
  m_bIsSound = !m_bIsSound;
  if (m_pMainLog) m_pMainLog->Line(GetModeName(), u" : m_bIsSound = ", m_bIsSound);
  ShowInfo(GetModeName() + u" :\n" + (m_bIsSound ? u"Звук включен!" : u"Звук выключен!"));
  Repaint();
}

void CWordsView::StopPlayback(int32_t bPlayOnPaint) {
  m_pPlayer->StopDevice();
  m_bPlayOnPaint = bPlayOnPaint;
}

void CWordsView::StopSound() {
  m_pPlayer->StopDevice();
  // The lesson goes away: a pending end-of-sound tick would move through data that is gone.
  m_pTimer->Kill();
  m_bTickWaiting = false;
  CLessonState::StopSound();
}

void CWordsView::PlayErrorSignal() {
  if (m_platform.errorSignal) m_platform.errorSignal->Play();
}

}  // namespace verbaro
