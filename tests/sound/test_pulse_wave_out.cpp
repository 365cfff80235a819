// The wave output when no sound server answers (the unit tests run without one).
#include <gtest/gtest.h>

#include "platform/PulseWaveOut.h"
#include "sound/Mp3Player.h"
#include "sound/WaveOutError.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFixtures.h"

namespace verbaro {
namespace {

TEST(PulseWaveOutWithoutServer, OpenReportsNoDeviceAndNothingElseBreaks) {
  PulseWaveOut out;
  EXPECT_EQ(out.Open(PcmFormat{}), waveout::kNoDevice);
  EXPECT_FALSE(out.IsOpen());
  const uint8_t pcm[8] = {};
  EXPECT_EQ(out.Write(pcm, sizeof pcm), waveout::kNotOpen);
  out.Reset();
  out.Close();
}

TEST(PulseWaveOutWithoutServer, FormatsTheServerCannotTakeAreRefusedBeforeLookingForIt) {
  PulseWaveOut out;
  for (const PcmFormat format :
       {PcmFormat{2, 44100, 24}, PcmFormat{0, 44100, 16}, PcmFormat{300, 44100, 16},
        PcmFormat{2, 0, 16}, PcmFormat{2, -44100, 16}}) {
    SCOPED_TRACE(testing::Message() << format.channels << " channels, " << format.samplesPerSecond
                                    << " Hz, " << format.bitsPerSample << " bits");
    EXPECT_EQ(out.Open(format), waveout::kBadFormat);
    EXPECT_FALSE(out.IsOpen());
  }
}

TEST(PulseWaveOutWithoutServer, EveryOpenLooksForTheServerAgainAndNeverWaits) {
  // Outputs made one after another, and one output asked again and again: each attempt fails
  // at once with the same answer, as long as no server ever answered.
  PulseWaveOut first, second;
  for (int attempt = 0; attempt < 3; ++attempt) {
    EXPECT_EQ(first.Open(PcmFormat{}), waveout::kNoDevice);
    EXPECT_EQ(second.Open(PcmFormat{1, 22050, 8}), waveout::kNoDevice);
  }
  EXPECT_FALSE(first.IsOpen());
  EXPECT_FALSE(second.IsOpen());
}

TEST(PulseWaveOutWithoutServer, PlayerShowsTheNoDeviceMessages) {
  FakePlatform fake;
  fake.platform.makeWaveOut = [] { return std::make_unique<PulseWaveOut>(); };
  Mp3Player player(fake.Get());
  const std::vector<uint8_t> mp3 = test::Mp3Fixture("tone_1s_44k_stereo.mp3");

  EXPECT_EQ(player.PlayRecording(mp3.data(), static_cast<int>(mp3.size())), std::nullopt);
  EXPECT_EQ(player.PlayRecording(mp3.data(), static_cast<int>(mp3.size())), std::nullopt);
  // One box that names the missing device, and none that blames the recording.
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kNoDevice)});
  EXPECT_FALSE(player.IsDeviceOpen());
}

}  // namespace
}  // namespace verbaro
