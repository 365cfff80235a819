#pragma once
// The services a view and the frame use from the desktop, gathered in one place so that the
// program runs on the real ones and tests on recording fakes.
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
};

}  // namespace verbaro
