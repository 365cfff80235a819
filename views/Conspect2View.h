#pragma once
// CConspect2View: the typing mode "Конспект-2", on the reversed lesson: the learner types a
// Russian translation, keys become Cyrillic letters as on the standard Russian keyboard, and the
// recordings of the foreign words sharing that translation are sounded one after the other.
#include "views/Conspect1View.h"

namespace verbaro {

class CConspect2View : public CConspect1View {
  Q_OBJECT

 public:
  explicit CConspect2View(const Platform& platform, QWidget* parent = nullptr);

  std::u16string GetModeName() const override;
  // Loads the lesson, then reverses it (which builds the filters and selects the first).
  bool LoadLesson() override;
  bool HandlesTimer() const override { return true; }

 protected:
  void OnCreate() override;
  std::optional<char16_t> TranslateKey(int virtualKey) override;
};

}  // namespace verbaro
