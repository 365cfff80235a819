#include "views/Conspect1View.h"

#include <algorithm>

#include "platform/Platform.h"
#include "views/VirtualKeys.h"

namespace verbaro {

namespace {
constexpr int kPageStep = 10;
}

CConspect1View::CConspect1View(const Platform& platform, QWidget* parent)
    : CWordsView(platform, parent) {}

std::u16string CConspect1View::GetModeName() const { return u"Модуль \"Конспект-1\""; }

void CConspect1View::OnCreate() {
  LoadPictures(600, QStringLiteral("Res/Conspect1.jpg"), 601,
               QStringLiteral("Res/Conspect1Logo.png"));
  m_bIsSound = 1;
  m_bConspectMode = 1;
  m_bContraVersa = 0;
}

void CConspect1View::Repaint() {
  CWordsView::Repaint();
  // F3 and Alt+F3 repaint too, so a word shown for a moment between two keys is noted.
  m_tally.Seen(!m_bHideHeader, !m_bHidePerevod && !m_vwsAltWords.empty());
}

void CConspect1View::OnKeyDown(int virtualKey) {
  const auto count = static_cast<int32_t>(m_vUserIndexes.size());
  const int32_t position = m_nUserFilterIndex;
  const int32_t last = std::max(count - 1, 0);

  switch (virtualKey) {
    case vk::kBack:
      if (m_typedText.empty()) return;
      m_typedText.pop_back();
      RepaintSilently();
      return;
    case vk::kShift: m_latin.NoteShiftDown(); return;
    case vk::kControl: m_latin.NoteCtrlDown(); return;
    case vk::kCapital: return;
    case vk::kSpace:
      // Once the word is typed right, Space moves on; otherwise it is a character like any
      // other (the typing check of the last repaint tells).
      if (m_typedLength == m_expectedLength && m_typedMatches) {
        NextEntry();
      } else {
        TypeKey(virtualKey);
      }
      return;
    case vk::kTab:
    case vk::kReturn:
    case vk::kDown: NextEntry(); return;
    case vk::kUp:
      if (position <= 0) {
        ShowEntry();
      } else {
        MoveTo(position - 1, true);
      }
      return;
    case vk::kPrior: MoveTo(position >= kPageStep ? position - kPageStep : 0, position > 0); return;
    case vk::kNext:
      MoveTo(position + kPageStep <= count - 1 ? position + kPageStep : last, position < count - 1);
      return;
    case vk::kHome: MoveTo(0, position > 0); return;
    case vk::kEnd: MoveTo(last, position < count - 1); return;
    default:
      if (position < 0 || position >= count) return;
      // Arrows, Escape, Insert, Delete, free function keys and the like type nothing and leave
      // an armed accent and the sticky flags as they are.
      if (vk::StandsForNoCharacter(virtualKey)) return;
      TypeKey(virtualKey);
      return;
  }
}

void CConspect1View::NextEntry() {
  if (m_nUserFilterIndex >= static_cast<int32_t>(m_vUserIndexes.size()) - 1) {
    ShowInfo(u"Закончились данные по выбранному фильтру!");
    return;
  }
  MoveTo(m_nUserFilterIndex + 1, true);
}

void CConspect1View::MoveTo(int32_t position, bool clearTyped) {
  if (clearTyped) ClearTypedText();
  m_nUserFilterIndex = position;
  ShowEntry();
}

void CConspect1View::ShowEntry() {
  // A key that shows an entry sounds it and lets the timer walk through its recordings again,
  // also after the view was hidden.
  m_bPlayOnPaint = 1;
  Repaint();
}

void CConspect1View::TypeKey(int virtualKey) {
  const std::optional<char16_t> character = TranslateKey(virtualKey);
  if (!character) return;
  const bool matchedBefore = m_typedMatches != 0;
  m_typedText += *character;
  // The entry was sounded when it was shown; typing only redraws the line.
  RepaintSilently();
  if (!Events()) return;
  if (const auto typed =
          m_tally.Key(m_expectedText, m_typedText, matchedBefore, m_typedMatches != 0)) {
    Events()->EntryTyped(ModeIndex(), *this, *typed);
  }
}

std::optional<char16_t> CConspect1View::TranslateKey(int virtualKey) {
  const LatinKeyTranslator::Result result = m_latin.Translate(virtualKey, *m_platform.keyboard);
  switch (result.outcome) {
    case LatinKeyTranslator::Outcome::Character: return result.character;
    case LatinKeyTranslator::Outcome::NoLetter:
      // The line shows the accent and the key where the mark stands.
      m_noLetterMarks.Add(m_typedText, result.accent, result.character);
      return kNoLetterMark;
    case LatinKeyTranslator::Outcome::Armed: break;
  }
  return std::nullopt;
}

}  // namespace verbaro
