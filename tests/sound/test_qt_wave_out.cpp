// The Qt wave output when no sound server answers (the unit tests run without one).
#include <gtest/gtest.h>

#include "SoundFixtures.h"
#include "platform/FakePlatform.h"
#include "platform/QtWaveOut.h"
#include "platform/WaveOutError.h"
#include "sound/Mp3Player.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"

namespace verbaro {
namespace {

TEST(QtWaveOutWithoutServer, OpenReportsNoDeviceAndNothingElseBreaks) {
  test::EnsureApplication();
  QtWaveOut out;
  EXPECT_EQ(out.Open(PcmFormat{}), waveout::kNoDevice);
  EXPECT_FALSE(out.IsOpen());
  const uint8_t pcm[8] = {};
  EXPECT_EQ(out.Write(pcm, sizeof pcm), waveout::kNotOpen);
  out.Reset();
  out.Close();
}

TEST(QtWaveOutWithoutServer, PlayerShowsTheNoDeviceMessages) {
  test::EnsureApplication();
  FakePlatform fake;
  fake.platform.makeWaveOut = [] { return std::make_unique<QtWaveOut>(); };
  Mp3Player player(fake.Get());
  const std::vector<uint8_t> mp3 = test::Mp3Fixture("tone_1s_44k_stereo.mp3");

  EXPECT_EQ(player.PlayRecording(mp3.data(), static_cast<int>(mp3.size())), std::nullopt);
  EXPECT_EQ(fake.messages.Texts(),
            (std::vector<QString>{WaveOutErrorText(waveout::kNoDevice),
                                  QStringLiteral("Не могу обработать mp3-файл в памяти!")}));
  EXPECT_FALSE(player.IsDeviceOpen());
}

}  // namespace
}  // namespace verbaro
