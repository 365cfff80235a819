#pragma once
// The services a view and the frame use from the desktop, gathered in one place so that the
// program runs on the real ones and tests on recording fakes.
#include <cstdint>
#include <functional>
#include <memory>

namespace verbaro {

class MessageBoxes;
class DiagnosticLog;
class FileChooser;
class WorkArea;
class KeyboardState;
class ViewTimer;
class WaveOut;
class ErrorSignal;
class Clock;
class Beeper;
class UrlOpener;
class SoundDeviceNotice;

struct Platform {
  MessageBoxes* messages = nullptr;
  DiagnosticLog* log = nullptr;
  FileChooser* files = nullptr;
  WorkArea* workArea = nullptr;
  KeyboardState* keyboard = nullptr;
  ErrorSignal* errorSignal = nullptr;
  Clock* clock = nullptr;
  Beeper* beeper = nullptr;
  UrlOpener* urls = nullptr;
  SoundDeviceNotice* soundNotice = nullptr;  // shared by every view's player
  std::function<std::unique_ptr<ViewTimer>()> makeTimer;
  std::function<std::unique_ptr<WaveOut>()> makeWaveOut;
  // The letter a key (X11/Wayland keycode) gives in the first Latin layout of the active keymap,
  // 0 when none; for shortcuts pressed on a non-Latin layout. Unset: such presses go by US place.
  std::function<int(uint32_t keycode)> latinLayoutLetter;
};

}  // namespace verbaro
