#include "app/QtPlatform.h"

#include "platform/ActiveKeymap.h"
#include "platform/PulseWaveOut.h"
#include "platform/QtErrorSignal.h"
#include "platform/QtKeyboardState.h"
#include "platform/ViewTimer.h"

namespace verbaro {

QtPlatform::QtPlatform()
    : m_keyboard(std::make_unique<QtKeyboardState>()),
      m_errorSignal(std::make_unique<QtErrorSignal>()) {
  m_messages.SetLog(&m_log);
  m_platform.messages = &m_messages;
  m_platform.log = &m_log;
  m_platform.files = &m_files;
  m_platform.workArea = &m_workArea;
  m_platform.keyboard = m_keyboard.get();
  m_platform.errorSignal = m_errorSignal.get();
  m_platform.clock = &m_clock;
  m_platform.beeper = &m_beeper;
  m_platform.urls = &m_urls;
  m_platform.soundNotice = &m_soundNotice;
  m_platform.makeTimer = [] { return std::unique_ptr<ViewTimer>(std::make_unique<QtViewTimer>()); };
  m_platform.makeWaveOut = [] {
    return std::unique_ptr<WaveOut>(std::make_unique<PulseWaveOut>());
  };
  m_platform.latinLayoutLetter = ActiveLatinLayoutLetter;
}

QtPlatform::~QtPlatform() = default;

bool QtPlatform::AttachLog(const std::string& path) { return m_log.AttachFile(path); }

}  // namespace verbaro
