#pragma once
// Reading the virtual-key code (data/VirtualKeyCodes.h) of a Qt key event, from the scan code of
// the physical key where the platform gives one.
#include <cstdint>

#include <Qt>

#include "data/VirtualKeyCodes.h"

class QKeyEvent;

namespace verbaro::vk {

// Virtual key of an X11/Wayland keycode (Linux evdev code + 8), by physical US position.
// Keypad keys whose meaning depends on NumLock, and unknown keycodes, give 0.
int FromX11Keycode(uint32_t keycode);

// Virtual key of a Qt key, read as a US keyboard would produce it (Shift+1 is Qt::Key_Exclam,
// still the key 0x31). Keypad keys are told apart by the keypad modifier. 0 when unknown.
int FromQtKey(int key, Qt::KeyboardModifiers modifiers);

// The virtual key of a key event: from its scan code when the platform gives one, else from
// its Qt key. 0 when the key has no virtual-key code.
int FromKeyEvent(const QKeyEvent& event);

// Keys that Windows would deliver as system keys (Alt, F10, anything with Alt held): they never
// reach a view's key handler.
bool IsSystemKey(const QKeyEvent& event);

}  // namespace verbaro::vk
