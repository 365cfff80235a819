#include "platform/QtKeyboardState.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// Xlib last: its macros (None, Bool, KeyPress...) must not reach the Qt headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace verbaro {

namespace {
constexpr int kVkCapital = 0x14;
}

QtKeyboardState::QtKeyboardState() {
  if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr) {
    m_pDisplay = x11->display();
  }
}

QtKeyboardState::~QtKeyboardState() = default;

bool QtKeyboardState::IsShiftHeld() const {
  return QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
}

bool QtKeyboardState::IsCtrlHeld() const {
  return QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
}

bool QtKeyboardState::IsCapsLockOn() const {
  if (m_pDisplay) {
    XkbStateRec state{};
    if (XkbGetState(static_cast<Display*>(m_pDisplay), XkbUseCoreKbd, &state) == Success) {
      return (state.locked_mods & LockMask) != 0;
    }
  }
  return m_bTrackedCapsLock;
}

void QtKeyboardState::NoteKeyDown(int virtualKey) {
  // Without a server to ask, each CapsLock press toggles the state, as the key itself does.
  if (virtualKey == kVkCapital && !m_pDisplay) m_bTrackedCapsLock = !m_bTrackedCapsLock;
}

}  // namespace verbaro
