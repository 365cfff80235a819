#pragma once
// The keyboard goes back to the study view whenever a menu, box, dialog or other window of the
// program closes, by whatever means, as desktop programs do: the letters typed next reach the
// word, never the menu bar.
//
// Three things would keep it elsewhere. A menu of the menu bar closed with Escape leaves the bar
// in its keyboard navigation, holding the keyboard (letters go nowhere, a digit opens the menu
// of that number) until a second Escape or a click; Alt pressed and released alone does the same
// with no menu open. And a window closing may leave the main window without the keyboard where
// no window manager hands it back.
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace verbaro {

class KeyboardReturn : public QObject {
  Q_OBJECT

 public:
  // `view` gives the study view shown in `window` now (null when there is none). Installed on
  // the application, so that it sees every window of the program close.
  KeyboardReturn(QWidget* window, std::function<QWidget*()> view);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Once everything the closing set off has run (the menu bar takes the keyboard right after
  // its menu closes; a command may open another box at once).
  void SettleLater(bool hadKeyboard);
  void Settle();

  QWidget* m_window;
  std::function<QWidget*()> m_view;
  bool m_pending = false;
  // The window of the program that had the keyboard last, while it still has it.
  QPointer<QWidget> m_lastActive;
  // The window that closed had the keyboard, so the main window takes it back if no other does.
  bool m_reactivate = false;
};

}  // namespace verbaro
