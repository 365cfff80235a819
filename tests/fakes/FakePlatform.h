#pragma once
// All fakes wired into one Platform, for tests. Timers and wave outputs made through it are kept
// in creation order so that tests can fire a view's timer or read what it played.
#include <memory>
#include <vector>

#include "data/DiagnosticLog.h"
#include "platform/Platform.h"
#include "platform/SoundDeviceNotice.h"
#include "tests/fakes/FakeDesktop.h"
#include "tests/fakes/FakeErrorSignal.h"
#include "tests/fakes/FakeFileChooser.h"
#include "tests/fakes/FakeMessageBoxes.h"
#include "tests/fakes/FakeViewTimer.h"
#include "tests/fakes/FakeWaveOut.h"
#include "tests/fakes/FakeWorkArea.h"
#include "tests/fakes/core/FakeClock.h"
#include "tests/fakes/core/FakeKeyboardState.h"

namespace verbaro {

class FakePlatform {
 public:
  FakeMessageBoxes messages;
  DiagnosticLog log;
  FakeFileChooser files;
  FakeWorkArea workArea;
  FakeKeyboardState keyboard;
  FakeErrorSignal errorSignal;
  FakeClock clock;
  FakeBeeper beeper;
  FakeUrlOpener urls;
  SoundDeviceNotice soundNotice;
  std::vector<FakeViewTimer*> timers;  // owned by the views that asked for them
  std::vector<FakeWaveOut*> waveOuts;  // owned by the players that asked for them

  FakePlatform() {
    messages.SetLog(&log);
    platform.messages = &messages;
    platform.log = &log;
    platform.files = &files;
    platform.workArea = &workArea;
    platform.keyboard = &keyboard;
    platform.errorSignal = &errorSignal;
    platform.clock = &clock;
    platform.beeper = &beeper;
    platform.urls = &urls;
    platform.soundNotice = &soundNotice;
    platform.makeTimer = [this] {
      auto timer = std::make_unique<FakeViewTimer>();
      timers.push_back(timer.get());
      return std::unique_ptr<ViewTimer>(std::move(timer));
    };
    platform.makeWaveOut = [this] {
      auto out = std::make_unique<FakeWaveOut>();
      waveOuts.push_back(out.get());
      return std::unique_ptr<WaveOut>(std::move(out));
    };
  }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  const Platform& Get() const { return platform; }
  Platform platform;
};

}  // namespace verbaro
