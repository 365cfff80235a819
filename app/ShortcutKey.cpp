#include "app/ShortcutKey.h"

#include <QKeyEvent>

#include "platform/XkbLetters.h"
#include "views/VirtualKeys.h"

namespace verbaro {

namespace {

bool IsLetterKey(int virtualKey) { return virtualKey >= 'A' && virtualKey <= 'Z'; }

}  // namespace

int ShortcutKey(int physicalKey, uint32_t keysym, const std::function<int()>& latinLayoutLetter) {
  if (keysym == 0) return physicalKey;
  if (const int letter = xkb::LatinLetterOfKeysym(keysym)) return letter;
  if (xkb::IsOtherScriptLetter(keysym)) {
    const int letter = latinLayoutLetter ? latinLayoutLetter() : 0;
    return letter != 0 ? letter : physicalKey;
  }
  return IsLetterKey(physicalKey) ? 0 : physicalKey;
}

int ShortcutKeyOfEvent(const QKeyEvent& event, const LatinLayoutLetter& latinLayoutLetter) {
  const int physicalKey = vk::FromKeyEvent(event);
  if (!(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return physicalKey;
  const uint32_t keycode = event.nativeScanCode();
  return ShortcutKey(physicalKey, event.nativeVirtualKey(), [&]() -> int {
    return latinLayoutLetter && keycode != 0 ? latinLayoutLetter(keycode) : 0;
  });
}

}  // namespace verbaro
