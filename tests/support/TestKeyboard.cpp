#include "tests/support/TestKeyboard.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

namespace verbaro::test {

TestKeyboard::TestKeyboard(const char* layouts, int activeLayout) : m_activeLayout(activeLayout) {
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  const xkb_rule_names names = {"evdev", "pc105", layouts, "", ""};
  m_keymap =
      context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
  if (context) xkb_context_unref(context);
  if (m_keymap == nullptr) {
    ADD_FAILURE() << "the layouts " << layouts << " do not compile";
    return;
  }
  m_state = xkb_state_new(m_keymap);
  xkb_state_update_mask(m_state, 0, 0, 0, 0, 0, static_cast<xkb_layout_index_t>(activeLayout));
}

TestKeyboard::~TestKeyboard() {
  if (m_state) xkb_state_unref(m_state);
  if (m_keymap) xkb_keymap_unref(m_keymap);
}

uint32_t TestKeyboard::Keysym(uint32_t evdev, bool shift) const {
  if (m_state == nullptr) return 0;
  const xkb_mod_mask_t shiftMask =
      shift ? (1u << xkb_keymap_mod_get_index(m_keymap, XKB_MOD_NAME_SHIFT)) : 0;
  xkb_state_update_mask(m_state, shiftMask, 0, 0, 0, 0,
                        static_cast<xkb_layout_index_t>(m_activeLayout));
  return xkb_state_key_get_one_sym(m_state, evdev + kX11Offset);
}

uint32_t TestKeyboard::NativeModifiers(bool ctrl, bool shift) const {
  // The X11 core state: Shift 0x1, Control 0x4, the layout in bits 13 and 14.
  return (shift ? 0x1u : 0u) | (ctrl ? 0x4u : 0u) | (static_cast<uint32_t>(m_activeLayout) << 13);
}

}  // namespace verbaro::test
