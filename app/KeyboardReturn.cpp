#include "app/KeyboardReturn.h"

#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "platform/DialogPlacement.h"

namespace verbaro {

namespace {

bool OnWayland() { return QGuiApplication::platformName().startsWith(QStringLiteral("wayland")); }

}  // namespace

KeyboardReturn::KeyboardReturn(QWidget* window, std::function<QWidget*()> view)
    : QObject(window), m_window(window), m_view(std::move(view)) {}

bool KeyboardReturn::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::WindowActivate:
      if (!widget->isWindow()) break;  // every widget of the window hears it too
      m_lastActive = widget;
      if (widget == m_window) SettleLater(false);
      break;
    case QEvent::WindowDeactivate:
      // A window that closes loses the keyboard just before it goes; one that stays on the
      // screen gave it to another window, maybe of another program.
      if (widget->isWindow() && widget == m_lastActive) {
        QTimer::singleShot(0, this, [this, window = QPointer<QWidget>(widget)] {
          if (window && window->isVisible() && window == m_lastActive) m_lastActive = nullptr;
        });
      }
      break;
    case QEvent::FocusIn:
      // Alt pressed and released alone puts the menu bar in its keyboard navigation with no menu
      // open (in Qt's Fusion style, as in any style that navigates menus with Alt): a learner
      // who touched Alt would type into nothing. The menus still open with Alt and their digit.
      if (qobject_cast<QMenuBar*>(widget) != nullptr && widget->window() == m_window) {
        SettleLater(false);
      }
      break;
    case QEvent::Hide:
      // Any menu, box, dialog or window of the program; tooltips come and go with the pointer.
      if (widget != m_window && widget->isWindow() && widget->windowType() != Qt::ToolTip) {
        // A menu never takes the window's place: when it closes because the learner clicked
        // into another program, that program keeps the keyboard.
        SettleLater(widget->windowType() != Qt::Popup && widget == m_lastActive);
      }
      break;
    default: break;
  }
  return false;
}

void KeyboardReturn::SettleLater(bool hadKeyboard) {
  m_reactivate = m_reactivate || hadKeyboard;
  if (m_pending) return;
  m_pending = true;
  QTimer::singleShot(0, this, &KeyboardReturn::Settle);
}

void KeyboardReturn::Settle() {
  m_pending = false;
  const bool reactivate = std::exchange(m_reactivate, false);
  // Another menu, box or dialog is open: it keeps the keyboard, and its own closing comes here.
  if (QApplication::activePopupWidget() != nullptr ||
      QApplication::activeModalWidget() != nullptr || HoldsDialogInside(m_window)) {
    return;
  }
  QWidget* view = m_view();
  if (view == nullptr || !m_window->isVisible() || !view->isVisible() || !view->isEnabled()) return;
  QWidget* active = QApplication::activeWindow();
  // A window of the program that has closed may still count as active until the display
  // server says otherwise (or for good, where menus take the keyboard as windows do): the
  // program has the keyboard, and the main window takes it.
  const bool closedWindowActive = active != nullptr && !active->isVisible();
  if (closedWindowActive) active = nullptr;
  // Another window of the program has the keyboard: the learner went there.
  if (active != nullptr && active != m_window) return;
  // Without an active window the keyboard stays with whatever the learner went to, unless it
  // was the program's window that just closed and nothing gave the keyboard back.
  // (On Wayland the compositor hands the keyboard over and asking it is of no use.)
  if (active == nullptr && (reactivate || closedWindowActive) && !OnWayland()) {
    m_window->activateWindow();
  }
  // The view takes the keyboard from the menu bar, which ends the bar's keyboard navigation;
  // with the window inactive it is where the keyboard comes back to.
  if (m_window->focusWidget() != view || QApplication::focusWidget() != view) {
    view->setFocus(Qt::OtherFocusReason);
  }
}

}  // namespace verbaro
