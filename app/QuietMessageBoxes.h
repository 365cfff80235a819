#pragma once
// The frame's message boxes: passed on to the desktop's, except while a remembered lesson is
// opened at a mode's first showing. A lesson that has gone or changed since is no surprise box
// at start-up: the mode simply starts without it, and the box is only written to the log.
#include "platform/MessageBoxes.h"

namespace verbaro {

class QuietMessageBoxes : public MessageBoxes {
 public:
  QuietMessageBoxes(MessageBoxes* boxes, DiagnosticLog* log) : m_boxes(boxes), m_log(log) {}

  // While a Quiet lives, boxes are withheld.
  class Quiet {
   public:
    explicit Quiet(QuietMessageBoxes& boxes) : m_boxes(boxes) { ++m_boxes.m_quiet; }
    ~Quiet() { --m_boxes.m_quiet; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

   private:
    QuietMessageBoxes& m_boxes;
  };

 protected:
  void Present(QWidget* owner, const QString& caption, const QString& text,
               MessageKind kind) override;
  // Questions are never withheld: they come from the learner's own commands.
  bool PresentQuestion(QWidget* owner, const QString& caption, const QString& text) override {
    return m_boxes && m_boxes->Ask(owner, caption, text);
  }

 private:
  MessageBoxes* m_boxes;
  DiagnosticLog* m_log;
  int m_quiet = 0;
};

}  // namespace verbaro
