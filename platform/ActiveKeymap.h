#pragma once
// The keymap that the desktop uses at this moment, read afresh on each call so that a layout
// switched in the desktop's settings (or by setxkbmap) counts at once. Asked only when a shortcut
// comes from a key that gives no Latin letter, which is rare enough for a round trip each time.
#include <cstdint>

#include "platform/XkbLetters.h"

namespace verbaro {

// On X11 the keymap of the core keyboard from the server's XKB extension; on Wayland the one the
// compositor hands to a keyboard of our own on a connection of our own. Null on other platforms
// (offscreen) or when the keymap cannot be read.
xkb::Keymap FetchActiveKeymap();

// The letter that the key with this X11/Wayland keycode gives in the first Latin layout of the
// active keymap (see xkb::FirstLatinLayoutLetter); 0 when there is none or no keymap.
int ActiveLatinLayoutLetter(uint32_t keycode);

}  // namespace verbaro
