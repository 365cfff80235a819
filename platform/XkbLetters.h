#pragma once
// The letters that keys give in an xkb keymap, for matching shortcuts by the letter the learner
// sees on the key. Reads a keymap only; needs no display.
#include <cstdint>
#include <memory>

struct xkb_keymap;

namespace verbaro::xkb {

struct KeymapDeleter {
  void operator()(xkb_keymap* keymap) const;
};
using Keymap = std::unique_ptr<xkb_keymap, KeymapDeleter>;

// 'A' to 'Z' for a keysym that gives an unaccented Latin letter, small or capital; 0 otherwise.
int LatinLetterOfKeysym(uint32_t keysym);

// Whether a keysym gives a letter of a script other than Latin (Cyrillic, Greek, Hebrew, ...):
// the sign of a layout on which no key gives a Latin letter.
bool IsOtherScriptLetter(uint32_t keysym);

// The letter 'A' to 'Z' that the key with this X11/Wayland keycode gives, unshifted, in the first
// Latin layout of the keymap: the first whose letter keys give mostly Latin letters. 0 when the
// keymap has no Latin layout or the key gives no Latin letter there.
int FirstLatinLayoutLetter(xkb_keymap* keymap, uint32_t keycode);

// A keymap compiled from its text form (as a Wayland compositor hands it out); null when the
// text does not compile.
Keymap KeymapFromText(const char* text, std::size_t size);

}  // namespace verbaro::xkb
