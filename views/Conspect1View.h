#pragma once
// CConspect1View: the typing mode "Конспект-1". The learner types the foreign word or phrase of
// the current entry; every keystroke is checked at the repaint, a wrong character turns the line
// red and sounds the error signal. Keys become Latin letters as on a US keyboard, with accented
// letters composed from Ctrl-prefixed accent keys.
#include <optional>

#include "data/KeyTranslation.h"
#include "views/TypingTally.h"
#include "views/WordsView.h"

namespace verbaro {

class CConspect1View : public CWordsView {
  Q_OBJECT

 public:
  explicit CConspect1View(const Platform& platform, QWidget* parent = nullptr);

  std::u16string GetModeName() const override;
  // Draws as every view does and notes for the typing tally what is now on screen.
  void Repaint() override;
  void OnKeyDown(int virtualKey) override;
  // The end-of-sound timer is left alone in Conspect-1.
  bool HandlesTimer() const override { return false; }

  const LatinKeyTranslator& Latin() const { return m_latin; }

 protected:
  void OnCreate() override;
  // The character a typing key gives, or nothing (an accent was armed, or Ctrl is held in
  // Conspect-2).
  virtual std::optional<char16_t> TranslateKey(int virtualKey);
  void OnEntryShown() override { m_tally.Start(); }

 private:
  void TypeKey(int virtualKey);
  void NextEntry();
  void MoveTo(int32_t position, bool clearTyped);
  void ShowEntry();

  LatinKeyTranslator m_latin;
  TypingTally m_tally{m_noLetterMarks};
};

}  // namespace verbaro
