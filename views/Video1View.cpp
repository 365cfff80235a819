#include "views/Video1View.h"

#include "views/VirtualKeys.h"

namespace verbaro {

VideoKeyResult ApplyVideoKey(int virtualKey, int32_t position, int32_t count) {
  using Action = VideoKeyResult::Action;
  // With an empty filter there is no last entry; keep the position at 0 rather than -1.
  const int32_t last = count > 0 ? count - 1 : 0;
  VideoKeyResult result{Action::Repaint, position, false};
  switch (virtualKey) {
    case vk::kSpace: result.action = Action::TogglePlay; break;
    case vk::kTab:
    case vk::kDown:
      if (position < count - 1) {
        result.position = position + 1;
        result.resetMp3Index = true;
      } else {
        result.action = Action::EndOfFilter;
      }
      break;
    case vk::kUp:
      if (position > 0) {
        result.position = position - 1;
        result.resetMp3Index = true;
      }
      break;
    case vk::kPrior:
      result.position = position >= 10 ? position - 10 : 0;
      result.resetMp3Index = true;
      break;
    case vk::kNext:
      result.position = position + 10 <= last ? position + 10 : last;
      result.resetMp3Index = true;
      break;
    case vk::kHome:
      result.position = 0;
      result.resetMp3Index = true;
      break;
    case vk::kEnd:
      result.position = last;
      result.resetMp3Index = true;
      break;
    default: break;
  }
  return result;
}

CVideo1View::CVideo1View(const Platform& platform, QWidget* parent)
    : CWordsView(platform, parent) {}

std::u16string CVideo1View::GetModeName() const { return u"Модуль \"Видео-1\""; }

bool CVideo1View::LoadLesson() { return ReloadData(true); }

void CVideo1View::OnCreate() {
  SetUpVideoMode(false, 604, QStringLiteral("Res/Video1.jpg"), 605,
                 QStringLiteral("Res/Video1Logo.png"));
}

void CVideo1View::SetUpVideoMode(bool contraVersa, int backgroundId, const QString& backgroundFile,
                                 int logoId, const QString& logoFile) {
  m_bIsSound = 1;
  m_bConspectMode = 0;
  m_bExamMode = 0;
  m_bVideoMode = 1;
  m_bContraVersa = contraVersa ? 1 : 0;
  LoadPictures(backgroundId, backgroundFile, logoId, logoFile);
}

void CVideo1View::OnKeyDown(int virtualKey) {
  const auto count = static_cast<int32_t>(m_vUserIndexes.size());
  const VideoKeyResult result = ApplyVideoKey(virtualKey, m_nUserFilterIndex, count);
  // An entry reached by hand is repeated as often as any other.
  if (result.position != m_nUserFilterIndex) SharedRepeatCounter() = 0;
  m_nUserFilterIndex = result.position;
  if (result.resetMp3Index) m_nCurMp3Index = 0;
  switch (result.action) {
    case VideoKeyResult::Action::TogglePlay:
      // Pauses after the recording that plays (the next tick finds the switch off); pressed
      // again, the next key goes on.
      m_bPlayOnPaint = m_bPlayOnPaint ? 0 : 1;
      break;
    case VideoKeyResult::Action::EndOfFilter: ShowInfo(kEndOfFilterText); break;
    case VideoKeyResult::Action::Repaint:
      // Every key but Space sounds the entry it shows and lets the play-through go on from
      // there, also after a pause, the end of the filter or a return to the mode.
      m_bPlayOnPaint = 1;
      Repaint();
      break;
  }
}

}  // namespace verbaro
