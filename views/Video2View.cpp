#include "views/Video2View.h"

#include "platform/ViewTimer.h"

namespace verbaro {

CVideo2View::CVideo2View(const Platform& platform, QWidget* parent)
    : CVideo1View(platform, parent) {}

std::u16string CVideo2View::GetModeName() const { return u"Модуль \"Видео-2\""; }

bool CVideo2View::LoadLesson() {
  if (!ReloadData(false)) return false;
  return BuildContraVersaData();
}

void CVideo2View::OnCreate() {
  SetUpVideoMode(true, 606, QStringLiteral("Res/Video2.jpg"), 607,
                 QStringLiteral("Res/Video2Logo.png"));
}

void CVideo2View::Repaint() {
  const int32_t shown = m_nUserFilterIndex;
  CVideo1View::Repaint();
  // At the last entry the selection stays and its recording index starts over after the last
  // recording; a repaint that arrived there from the entry before does not count.
  const auto last = static_cast<int32_t>(m_vUserIndexes.size()) - 1;
  m_bLastEntryDone = shown == last && m_nUserFilterIndex == last && m_nCurMp3Index == 0;
}

void CVideo2View::OnTimer() {
  const auto last = static_cast<int32_t>(m_vUserIndexes.size()) - 1;
  if (!m_bPlayOnPaint || m_nUserFilterIndex != last || m_bLastEntryDone) {
    CVideo1View::OnTimer();
    return;
  }
  Timer().Kill();
  // Count the shared repeat counter as every tick does; in the reversed views it moves nothing.
  int32_t& counter = SharedRepeatCounter();
  if (counter == 0) counter = m_nPhraseRepeats;
  if (--counter == 0) counter = m_nPhraseRepeats;
  Repaint();
}

}  // namespace verbaro
