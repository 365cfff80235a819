#pragma once
// The Help dialog ("Помощь"): the user's manual in one read-only text with both scroll bars,
// dark blue on cream, sized from the frame's client area. Escape and the close box close it
// with 0; Enter is answered with the "wParam" box and does not close it.
#include <QDialog>
#include <QString>

#include "platform/Platform.h"

class QPlainTextEdit;

namespace verbaro {

class DialogUnits;

class HelpDialog : public QDialog {
  Q_OBJECT

 public:
  // The result of Escape and of the close box.
  static constexpr int kResultClosed = 0;

  // owner is the frame: the dialog takes its size and place from the frame's client area.
  explicit HelpDialog(const Platform& platform, QWidget* owner = nullptr);

  // The manual, from the built-in text ":/TEXT/help"; empty when it is missing.
  static QString HelpText();
  QPlainTextEdit* TextControl() const { return m_text; }

  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Size and place: width W x 30 / 100 and height H x 32 / 100 dialog units of the frame's
  // client size W x H, at (width x 16 / 100, 24) units from its corner; at least 640 x 480
  // pixels and never larger than the screen.
  void PlaceOver(QWidget* owner, const DialogUnits& units);
  // A command the dialog does not carry out: shown as the box "wParam" with its number.
  void ReportCommand(int command);
  void PutCaretAtStart();

  const Platform m_platform;
  QPlainTextEdit* m_text = nullptr;
};

}  // namespace verbaro
