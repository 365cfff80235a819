// The unit tests never touch a real sound server: pointing PulseAudio clients at a socket that
// does not exist leaves the program with no output device, whatever runs on the machine. The real
// playback tests are a separate executable.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class NoSoundServer : public ::testing::Environment {
 public:
  void SetUp() override { setenv("PULSE_SERVER", "unix:/nonexistent/verbaro-no-sound-server", 1); }
};

[[maybe_unused]] const auto* const kNoSoundServer =
    ::testing::AddGlobalTestEnvironment(new NoSoundServer);

}  // namespace
