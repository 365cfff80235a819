#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "data/DiagnosticLog.h"
#include "platform/DialogPlacement.h"
#include "platform/QtText.h"

namespace verbaro {

void MessageBoxes::Show(QWidget* owner, const QString& caption, const QString& text,
                        MessageKind kind) {
  if (m_log) m_log->Line(FromQ(caption), u": ", FromQ(text));
  Present(owner, caption, text, kind);
}

void MessageBoxes::ShowError(QWidget* owner, const QString& text) {
  Show(owner, ToQ(kCaptionError), text, MessageKind::Error);
}

bool MessageBoxes::Ask(QWidget* owner, const QString& caption, const QString& text) {
  if (m_log) m_log->Line(FromQ(caption), u": ", FromQ(text));
  const bool yes = PresentQuestion(owner, caption, text);
  if (m_log) m_log->Line(yes ? u"Ответ: Да" : u"Ответ: Нет");
  return yes;
}

namespace {

// The window that takes the keyboard back when a box closes: the one that was active before it,
// else the owner's window, else the program's main window.
QWidget* WindowToReactivate(QWidget* activeBefore, QWidget* owner) {
  if (activeBefore != nullptr && activeBefore->isVisible()) return activeBefore;
  if (owner != nullptr && owner->window()->isVisible()) return owner->window();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && qobject_cast<QMainWindow*>(window) != nullptr) return window;
  }
  return nullptr;
}

}  // namespace

void QtMessageBoxes::Present(QWidget* owner, const QString& caption, const QString& text,
                             MessageKind kind) {
  const QPointer<QWidget> activeBefore = QApplication::activeWindow();
  const QPointer<QWidget> ownerWindow = owner;
  // A box without owner belongs to the main window all the same, so that it comes over it.
  QWidget* parent = owner != nullptr ? owner : OwnerWindow(nullptr);
  QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                  caption, text, QMessageBox::Ok, parent);
  ExecDialog(box);
  // Without a window manager nobody hands the keyboard back when the box goes away: the keys
  // would still reach the window under the pointer, but no window would be active, so its
  // shortcuts (the mode keys, Ctrl+O, Alt+F4) would stop acting. Whatever raised the box (a key,
  // the timer, a command), the window that had the keyboard gets it back.
  if (QWidget* window = WindowToReactivate(activeBefore, ownerWindow)) window->activateWindow();
}

bool QtMessageBoxes::PresentQuestion(QWidget* owner, const QString& caption, const QString& text) {
  const QPointer<QWidget> activeBefore = QApplication::activeWindow();
  const QPointer<QWidget> ownerWindow = owner;
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  // The program's own words on the buttons, whatever translation Qt found.
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  const bool yes = box.exec() == QMessageBox::Yes;
  if (QWidget* window = WindowToReactivate(activeBefore, ownerWindow)) window->activateWindow();
  return yes;
}

}  // namespace verbaro
