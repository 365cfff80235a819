#pragma once
// A plain study view for the tests of the base: it sets the mode flags it is given when its
// window is created and loads no pictures.
#include "views/WordsView.h"

namespace verbaro::test {

class TestView : public CWordsView {
 public:
  using CWordsView::CWordsView;
  std::u16string GetModeName() const override { return u"Модуль \"Тест\""; }
  int repaints = 0;
  void Repaint() override {
    ++repaints;
    CWordsView::Repaint();
  }

 protected:
  void OnCreate() override { m_bIsSound = 1; }
};

}  // namespace verbaro::test
