#include "platform/XkbLetters.h"

#include <xkbcommon/xkbcommon.h>

#include <QChar>
#include <string>

namespace verbaro::xkb {

namespace {

// X11/Wayland keycodes (evdev + 8) of the 26 letter keys of a US keyboard.
constexpr uint32_t kUsLetterKeycodes[] = {24, 25, 26, 27, 28, 29, 30, 31, 32, 33,  // Q to P
                                          38, 39, 40, 41, 42, 43, 44, 45, 46,      // A to L
                                          52, 53, 54, 55, 56, 57, 58};             // Z to M

uint32_t UnshiftedKeysym(xkb_keymap* keymap, uint32_t keycode, xkb_layout_index_t layout) {
  const xkb_keysym_t* syms = nullptr;
  const int count = xkb_keymap_key_get_syms_by_level(keymap, keycode, layout, 0, &syms);
  return count == 1 ? syms[0] : XKB_KEY_NoSymbol;
}

// A layout counts as Latin when at least half of its letter keys give Latin letters: Dvorak
// keeps punctuation on four of them, AZERTY on one, a Cyrillic or Greek layout gives none.
bool IsLatinLayout(xkb_keymap* keymap, xkb_layout_index_t layout) {
  int letters = 0;
  for (const uint32_t keycode : kUsLetterKeycodes) {
    if (LatinLetterOfKeysym(UnshiftedKeysym(keymap, keycode, layout)) != 0) ++letters;
  }
  return letters * 2 >= static_cast<int>(std::size(kUsLetterKeycodes));
}

}  // namespace

void KeymapDeleter::operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }

int LatinLetterOfKeysym(uint32_t keysym) {
  const uint32_t character = xkb_keysym_to_utf32(keysym);
  if (character >= 'a' && character <= 'z') return static_cast<int>(character - 'a' + 'A');
  if (character >= 'A' && character <= 'Z') return static_cast<int>(character);
  return 0;
}

bool IsOtherScriptLetter(uint32_t keysym) {
  const char32_t character = xkb_keysym_to_utf32(keysym);
  if (character == 0 || !QChar::isLetter(character)) return false;
  return QChar::script(character) != QChar::Script_Latin;
}

int FirstLatinLayoutLetter(xkb_keymap* keymap, uint32_t keycode) {
  if (keymap == nullptr) return 0;
  const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(keymap, keycode);
  for (xkb_layout_index_t layout = 0; layout < xkb_keymap_num_layouts(keymap); ++layout) {
    if (!IsLatinLayout(keymap, layout)) continue;
    if (layouts == 0) return 0;
    // A key with fewer layouts than the keymap wraps round to its first ones, as xkb does.
    return LatinLetterOfKeysym(UnshiftedKeysym(keymap, keycode, layout % layouts));
  }
  return 0;
}

Keymap KeymapFromText(const char* text, std::size_t size) {
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (context == nullptr) return nullptr;
  // The text need not end in a NUL (Wayland compositors differ), and must not hold one inside.
  std::string copy(text, size);
  copy.resize(copy.find('\0') == std::string::npos ? copy.size() : copy.find('\0'));
  Keymap keymap(xkb_keymap_new_from_string(context, copy.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                           XKB_KEYMAP_COMPILE_NO_FLAGS));
  xkb_context_unref(context);
  return keymap;
}

}  // namespace verbaro::xkb
