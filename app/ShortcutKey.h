#pragma once
// Which key a Ctrl or Alt shortcut press stands for. A shortcut with a letter follows the letter
// the key gives in the active keyboard layout, so that on AZERTY or Dvorak Ctrl+O is the key
// that types "o", and a tool that types through a keymap of its own reaches the shortcuts too.
// Only where the active layout gives no Latin letter (Russian, Greek, ...) does the key's place
// decide, so that Ctrl+O still works there. Typing in the study views is not affected: the views
// read keys by physical position only (views/VirtualKeys.h).
#include <cstdint>
#include <functional>

class QKeyEvent;

namespace verbaro {

// The letter that the key with an X11/Wayland keycode gives in the first Latin layout of the
// active keymap, 0 when none (platform/ActiveKeymap.h).
using LatinLayoutLetter = std::function<int(uint32_t keycode)>;

// The virtual key a shortcut press matches, from the virtual key of the physical key and the
// keysym the active layout gives (0 when the platform gives none, as offscreen):
// - a keysym of an unaccented Latin letter: that letter, wherever the key sits;
// - a letter of another script: the key's letter in the first Latin layout of the keymap
//   (latinLayoutLetter, asked only then), else the physical key, as on a US keyboard;
// - anything else (digits, signs, accented letters, function keys): the physical key; but a
//   letter key that gives no letter, such as the Dvorak key Q that gives an apostrophe, stands
//   for no letter;
// - no keysym: the physical key.
int ShortcutKey(int physicalKey, uint32_t keysym, const std::function<int()>& latinLayoutLetter);

// The virtual key a key event matches in the accelerator table. Presses without Ctrl or Alt
// (the function keys) keep the physical key, so typing never asks for the keymap.
int ShortcutKeyOfEvent(const QKeyEvent& event, const LatinLayoutLetter& latinLayoutLetter);

}  // namespace verbaro
