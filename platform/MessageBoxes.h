#pragma once
// Modal message boxes with one OK button. Every box shown is also written to the diagnostic
// log, when one is attached, as one line "caption: text".
#include <QString>
#include <vector>

#include "data/MessageKind.h"

class QWidget;

namespace verbaro {

class DiagnosticLog;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  void SetLog(DiagnosticLog* log) { m_log = log; }
  // owner may be null (a box without owner window). The kind gives the icon.
  void Show(QWidget* owner, const QString& caption, const QString& text,
            MessageKind kind = MessageKind::Information);
  // A box captioned «Ошибка» with the error icon.
  void ShowError(QWidget* owner, const QString& text);
  // A modal question with the buttons «Да» and «Нет», «Нет» the default; true for «Да». Logged
  // as a box is, with the answer on a line of its own.
  bool Ask(QWidget* owner, const QString& caption, const QString& text);

 protected:
  virtual void Present(QWidget* owner, const QString& caption, const QString& text,
                       MessageKind kind) = 0;
  virtual bool PresentQuestion(QWidget* owner, const QString& caption, const QString& text) = 0;

 private:
  DiagnosticLog* m_log = nullptr;
};

class QtMessageBoxes : public MessageBoxes {
 protected:
  void Present(QWidget* owner, const QString& caption, const QString& text,
               MessageKind kind) override;
  bool PresentQuestion(QWidget* owner, const QString& caption, const QString& text) override;
};

}  // namespace verbaro
