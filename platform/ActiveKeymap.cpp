#include "platform/ActiveKeymap.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <QGuiApplication>
#include <cstring>

namespace verbaro {

namespace {

// No real keymap comes near this; a larger one is refused rather than mapped.
constexpr uint32_t kMaxKeymapSize = 16u << 20;

xkb::Keymap FetchX11Keymap() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (connection == nullptr) return nullptr;
  if (!xkb_x11_setup_xkb_extension(
          connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
          XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
    return nullptr;
  }
  const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
  if (device < 0) return nullptr;
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (context == nullptr) return nullptr;
  xkb::Keymap keymap(
      xkb_x11_keymap_new_from_device(context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
  xkb_context_unref(context);
  return keymap;
}

// A Wayland client of our own that binds the seat, asks for its keyboard and keeps the keymap
// the compositor sends first. Qt's own keyboard object cannot be listened to a second time.
struct WaylandKeymapReader {
  wl_seat* seat = nullptr;
  xkb::Keymap keymap;
  bool answered = false;

  static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t /*version*/) {
    auto* self = static_cast<WaylandKeymapReader*>(data);
    if (self->seat == nullptr && std::strcmp(interface, wl_seat_interface.name) == 0) {
      self->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
  }
  static void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

  static void OnKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    auto* self = static_cast<WaylandKeymapReader*>(data);
    if (!self->answered && format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0 &&
        size <= kMaxKeymapSize) {
      void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
      if (text != MAP_FAILED) {
        self->keymap = xkb::KeymapFromText(static_cast<const char*>(text), size);
        munmap(text, size);
      }
    }
    self->answered = true;
    close(fd);
  }
  static void OnEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
  static void OnLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
  static void OnKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t) {}
  static void OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
};

const wl_registry_listener kRegistryListener = {WaylandKeymapReader::OnGlobal,
                                                WaylandKeymapReader::OnGlobalRemove};
const wl_keyboard_listener kKeyboardListener = {
    WaylandKeymapReader::OnKeymap, WaylandKeymapReader::OnEnter,     WaylandKeymapReader::OnLeave,
    WaylandKeymapReader::OnKey,    WaylandKeymapReader::OnModifiers, nullptr};

xkb::Keymap FetchWaylandKeymap() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return nullptr;
  WaylandKeymapReader reader;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &reader);
  wl_keyboard* keyboard = nullptr;
  if (wl_display_roundtrip(display) >= 0 && reader.seat != nullptr) {
    keyboard = wl_seat_get_keyboard(reader.seat);
    wl_keyboard_add_listener(keyboard, &kKeyboardListener, &reader);
    // The keymap comes with the keyboard; a second round trip lets a slow compositor catch up.
    for (int trip = 0; trip < 2 && !reader.answered; ++trip) {
      if (wl_display_roundtrip(display) < 0) break;
    }
  }
  if (keyboard != nullptr) wl_keyboard_destroy(keyboard);
  if (reader.seat != nullptr) wl_seat_destroy(reader.seat);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return std::move(reader.keymap);
}

}  // namespace

xkb::Keymap FetchActiveKeymap() {
  if (qGuiApp == nullptr) return nullptr;
  const QString platform = QGuiApplication::platformName();
  if (platform == u"xcb") return FetchX11Keymap();
  if (platform.startsWith(u"wayland")) return FetchWaylandKeymap();
  return nullptr;
}

int ActiveLatinLayoutLetter(uint32_t keycode) {
  const xkb::Keymap keymap = FetchActiveKeymap();
  return xkb::FirstLatinLayoutLetter(keymap.get(), keycode);
}

}  // namespace verbaro
