#pragma once
// A lesson state without a view: the boxes a view would show are kept in order, the Filters
// menu is what FilterMenuItems() lists, and there is no screen to repaint. The lesson tool reads
// lessons through it, so that it reads them exactly as the study views do.
#include <string>
#include <string_view>
#include <vector>

#include "data/LessonState.h"

namespace verbaro {

class PlainLessonState : public LessonState {
 public:
  struct Message {
    std::u16string caption;
    std::u16string text;
  };

  explicit PlainLessonState(std::u16string modeName) : m_modeName(std::move(modeName)) {}

  void ShowMessage(MessageKind kind, std::u16string_view text) override {
    m_messages.push_back({std::u16string(CaptionOf(kind)), std::u16string(text)});
  }
  void Repaint() override {}
  bool BuildFilterMenu() override { return true; }
  std::u16string GetModeName() const override { return m_modeName; }

  const std::vector<Message>& Messages() const { return m_messages; }

 private:
  std::u16string m_modeName;
  std::vector<Message> m_messages;
};

}  // namespace verbaro
