#include "views/Video1View.h"

namespace verbaro {

namespace {
// Windows virtual-key codes of the keys the Video modes interpret.
constexpr int VK_TAB = 0x09;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_UP = 0x26;
constexpr int VK_DOWN = 0x28;
}  // namespace

VideoKeyResult ApplyVideoKey(int virtualKey, int32_t position, int32_t count) {
  using Action = VideoKeyResult::Action;
  // With an empty filter there is no last entry; keep the position at 0 rather than -1.
  const int32_t last = count > 0 ? count - 1 : 0;
  VideoKeyResult result{Action::Repaint, position, false};
  switch (virtualKey) {
    case VK_SPACE:
      result.action = Action::TogglePlay;
      break;
    case VK_TAB:
    case VK_DOWN:
      if (position < count - 1) {
        result.position = position + 1;
        result.resetMp3Index = true;
      } else {
        result.action = Action::EndOfFilter;
      }
      break;
    case VK_UP:
      if (position > 0) {
        result.position = position - 1;
        result.resetMp3Index = true;
      }
      break;
    case VK_PRIOR:
      result.position = position >= 10 ? position - 10 : 0;
      result.resetMp3Index = true;
      break;
    case VK_NEXT:
      result.position = position + 10 <= last ? position + 10 : last;
      result.resetMp3Index = true;
      break;
    case VK_HOME:
      result.position = 0;
      result.resetMp3Index = true;
      break;
    case VK_END:
      result.position = last;
      result.resetMp3Index = true;
      break;
    default:
      break;
  }
  return result;
}

CVideo1View::CVideo1View(const Platform& platform, QWidget* parent)
    : CWordsView(platform, parent) {}

std::u16string CVideo1View::GetModeName() const { return u"Модуль \"Видео-1\""; }

bool CVideo1View::OpenLesson() { return ReloadData(true); }

void CVideo1View::OnCreate() {
  SetUpVideoMode(false, 604, QStringLiteral("Res/Video1.jpg"), 605,
                 QStringLiteral("Res/Video1Logo.png"));
}

void CVideo1View::SetUpVideoMode(bool contraVersa, int backgroundId,
                                 const QString& backgroundFile, int logoId,
                                 const QString& logoFile) {
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
  m_nUserFilterIndex = result.position;
  if (result.resetMp3Index) m_nCurMp3Index = 0;
  switch (result.action) {
    case VideoKeyResult::Action::TogglePlay:
      // Pauses after the recording that plays (the next tick finds the switch off) or lets the
      // next repaint sound the entry again.
      m_bPlayOnPaint = m_bPlayOnPaint ? 0 : 1;
      break;
    case VideoKeyResult::Action::EndOfFilter:
      ShowInfo(kEndOfFilterText);
      break;
    case VideoKeyResult::Action::Repaint:
      Repaint();
      break;
  }
}

}  // namespace verbaro
