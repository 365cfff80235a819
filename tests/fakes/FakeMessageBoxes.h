#pragma once
// Message boxes recorded with their owner, caption and text.
#include <QString>
#include <vector>

#include "platform/MessageBoxes.h"

namespace verbaro {

// Records the boxes instead of showing them.
class FakeMessageBoxes : public MessageBoxes {
 public:
  struct Box {
    QWidget* owner;
    QString caption;
    QString text;
    MessageKind kind = MessageKind::Information;
  };
  std::vector<Box> shown;
  // The questions asked (also in `shown`, in order) and the answers they get, in turn; an empty
  // queue answers «Нет».
  int questions = 0;
  std::vector<bool> answers;
  void Clear() { shown.clear(); }
  // Texts only, in order, for compact assertions.
  std::vector<QString> Texts() const;

 protected:
  void Present(QWidget* owner, const QString& caption, const QString& text,
               MessageKind kind) override {
    shown.push_back({owner, caption, text, kind});
  }
  bool PresentQuestion(QWidget* owner, const QString& caption, const QString& text) override {
    shown.push_back({owner, caption, text});
    ++questions;
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

}  // namespace verbaro
