/* A keyboard for the end-to-end test on a Wayland compositor: physical key codes with a keymap of
 * our choosing, through the virtual keyboard protocol.
 *
 * Reads commands from standard input, one a line, and answers each with "ok" once the compositor
 * has processed it (or "error: ..."):
 *   keymap LAYOUT [OPTIONS]   compile the xkb keymap of that layout ("fr", "ru", "us") with the
 *                             given xkb options ("grp:caps_toggle") and hand it to the compositor;
 *                             locked modifiers (CapsLock, NumLock) stay locked across the change
 *   press CODE | release CODE a Linux evdev key code
 *   tap CODE                  press and release
 * The compositor does not work modifiers out from a virtual keyboard's keys, so the modifier
 * state is kept here with xkbcommon and sent after every key that changes it, as a real keyboard's
 * compositor would.
 */
#define _GNU_SOURCE
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"

enum { kKeymapFormatXkbV1 = 1, kEvdevToXkb = 8 };

struct client {
  struct wl_display *display;
  struct wl_seat *seat;
  struct zwp_virtual_keyboard_manager_v1 *manager;
  struct zwp_virtual_keyboard_v1 *keyboard;
  struct xkb_context *context;
  struct xkb_keymap *keymap;
  struct xkb_state *state;
  xkb_mod_mask_t sent[4];
};

static void on_global(void *data, struct wl_registry *registry, uint32_t name,
                      const char *interface, uint32_t version) {
  struct client *c = data;
  (void)version;
  if (strcmp(interface, wl_seat_interface.name) == 0 && !c->seat) {
    c->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  } else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
    c->manager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
  }
}

static void on_global_remove(void *data, struct wl_registry *registry, uint32_t name) {
  (void)data;
  (void)registry;
  (void)name;
}

static const struct wl_registry_listener registry_listener = {on_global, on_global_remove};

static uint32_t now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static void send_modifiers(struct client *c, int always) {
  const xkb_mod_mask_t now[4] = {xkb_state_serialize_mods(c->state, XKB_STATE_MODS_DEPRESSED),
                                 xkb_state_serialize_mods(c->state, XKB_STATE_MODS_LATCHED),
                                 xkb_state_serialize_mods(c->state, XKB_STATE_MODS_LOCKED),
                                 xkb_state_serialize_layout(c->state, XKB_STATE_LAYOUT_EFFECTIVE)};
  if (!always && memcmp(now, c->sent, sizeof now) == 0) return;
  memcpy(c->sent, now, sizeof now);
  zwp_virtual_keyboard_v1_modifiers(c->keyboard, now[0], now[1], now[2], now[3]);
}

static const char *set_keymap(struct client *c, const char *layout, const char *options) {
  const struct xkb_rule_names names = {
      .rules = "evdev", .model = "pc105", .layout = layout, .variant = "", .options = options};
  struct xkb_keymap *keymap = xkb_keymap_new_from_names(c->context, &names, 0);
  if (!keymap) return "the keymap does not compile";
  char *text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
  if (!text) {
    xkb_keymap_unref(keymap);
    return "the keymap has no text form";
  }
  const size_t size = strlen(text) + 1;
  int fd = memfd_create("verbaro-keymap", MFD_CLOEXEC);
  if (fd < 0 || write(fd, text, size) != (ssize_t)size) {
    free(text);
    xkb_keymap_unref(keymap);
    if (fd >= 0) close(fd);
    return "cannot write the keymap";
  }
  free(text);
  zwp_virtual_keyboard_v1_keymap(c->keyboard, kKeymapFormatXkbV1, fd, (uint32_t)size);
  close(fd);

  const xkb_mod_mask_t locked =
      c->state ? xkb_state_serialize_mods(c->state, XKB_STATE_MODS_LOCKED) : 0;
  struct xkb_state *state = xkb_state_new(keymap);
  xkb_state_update_mask(state, 0, 0, locked, 0, 0, 0);
  if (c->state) xkb_state_unref(c->state);
  if (c->keymap) xkb_keymap_unref(c->keymap);
  c->state = state;
  c->keymap = keymap;
  send_modifiers(c, 1);
  return NULL;
}

static const char *send_key(struct client *c, unsigned code, int pressed) {
  if (!c->state) return "no keymap yet";
  zwp_virtual_keyboard_v1_key(c->keyboard, now_ms(), code, pressed ? 1 : 0);
  xkb_state_update_key(c->state, code + kEvdevToXkb, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
  send_modifiers(c, 0);
  return NULL;
}

static const char *run_command(struct client *c, char *line) {
  char *saveptr = NULL;
  const char *verb = strtok_r(line, " \t\n", &saveptr);
  if (!verb) return "empty command";
  if (strcmp(verb, "keymap") == 0) {
    const char *layout = strtok_r(NULL, " \t\n", &saveptr);
    const char *options = strtok_r(NULL, " \t\n", &saveptr);
    if (!layout) return "keymap needs a layout";
    return set_keymap(c, layout, options ? options : "");
  }
  const char *arg = strtok_r(NULL, " \t\n", &saveptr);
  char *end = NULL;
  const unsigned long code = arg ? strtoul(arg, &end, 10) : 0;
  if (!arg || *end || code == 0 || code > 767) return "a key code is needed";
  if (strcmp(verb, "press") == 0) return send_key(c, (unsigned)code, 1);
  if (strcmp(verb, "release") == 0) return send_key(c, (unsigned)code, 0);
  if (strcmp(verb, "tap") == 0) {
    const char *error = send_key(c, (unsigned)code, 1);
    return error ? error : send_key(c, (unsigned)code, 0);
  }
  return "unknown command";
}

int main(void) {
  struct client c = {0};
  c.display = wl_display_connect(NULL);
  if (!c.display) {
    fprintf(stderr, "virtual_keyboard: cannot connect to the Wayland display\n");
    return 1;
  }
  struct wl_registry *registry = wl_display_get_registry(c.display);
  wl_registry_add_listener(registry, &registry_listener, &c);
  wl_display_roundtrip(c.display);
  if (!c.seat || !c.manager) {
    fprintf(stderr, "virtual_keyboard: the compositor offers no %s\n",
            c.seat ? "virtual keyboard manager" : "seat");
    return 1;
  }
  c.keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(c.manager, c.seat);
  c.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (!c.context) return 1;

  char line[256];
  while (fgets(line, sizeof line, stdin)) {
    const char *error = run_command(&c, line);
    if (wl_display_roundtrip(c.display) < 0) {
      fprintf(stderr, "virtual_keyboard: the connection failed (%s)\n", strerror(errno));
      return 1;
    }
    if (error) {
      printf("error: %s\n", error);
    } else {
      printf("ok\n");
    }
    fflush(stdout);
  }
  zwp_virtual_keyboard_v1_destroy(c.keyboard);
  wl_display_roundtrip(c.display);
  if (c.state) xkb_state_unref(c.state);
  if (c.keymap) xkb_keymap_unref(c.keymap);
  xkb_context_unref(c.context);
  wl_registry_destroy(registry);
  wl_display_disconnect(c.display);
  return 0;
}
