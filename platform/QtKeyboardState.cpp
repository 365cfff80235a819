#include "platform/QtKeyboardState.h"

#include <QGuiApplication>

namespace verbaro {

bool QtKeyboardState::IsShiftHeld() const {
  return QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
}

bool QtKeyboardState::IsCtrlHeld() const {
  return QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
}

void QtKeyboardState::NoteKeyDown(uint32_t nativeModifiers) {
  m_capsLock = (nativeModifiers & kXkbLockMask) != 0;
}

}  // namespace verbaro
