#pragma once
// A lesson state without a widget: messages are counted, repaints and the Filters menu do
// nothing. Used to time reading, classifying and reversing a lesson by themselves.
#include <string>

#include "data/LessonState.h"
#include "data/Text.h"

namespace verbaro::bench {

class PlainLesson : public LessonState {
 public:
  explicit PlainLesson(const std::string& path) { m_szDataFile = FromUtf8(path); }

  void ShowMessage(MessageKind, std::u16string_view) override { ++messages; }
  void Repaint() override {}
  bool BuildFilterMenu() override { return true; }
  std::u16string GetModeName() const override { return u"Модуль \"Замер\""; }

  int messages = 0;
};

}  // namespace verbaro::bench
