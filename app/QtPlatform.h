#pragma once
// The real desktop services, wired into one Platform for the running program.
#include <memory>
#include <string>

#include "data/DiagnosticLog.h"
#include "platform/Desktop.h"
#include "platform/FileChooser.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/SoundDeviceNotice.h"
#include "platform/WorkArea.h"

namespace verbaro {

class KeyboardState;
class ErrorSignal;

class QtPlatform {
 public:
  QtPlatform();
  ~QtPlatform();
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  // Attaches the diagnostic log to a file; every message box is then logged too.
  bool AttachLog(const std::string& path);
  const Platform& Get() const { return m_platform; }

 private:
  QtMessageBoxes m_messages;
  DiagnosticLog m_log;
  QtFileChooser m_files;
  QtWorkArea m_workArea;
  std::unique_ptr<KeyboardState> m_keyboard;
  std::unique_ptr<ErrorSignal> m_errorSignal;
  SystemClock m_clock;
  QtBeeper m_beeper;
  QtUrlOpener m_urls;
  SoundDeviceNotice m_soundNotice;
  Platform m_platform;
};

}  // namespace verbaro
