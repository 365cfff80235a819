// Sounding a recording: what reaches the device, in which order, and the end-of-sound period.
#include <gtest/gtest.h>

#include <vector>

#include "sound/Mp3Player.h"
#include "sound/WaveOutError.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFixtures.h"

namespace verbaro {
namespace {

using test::Mp3Fixture;

class Mp3Playing : public ::testing::Test {
 protected:
  FakePlatform fake;
  Mp3Player player{fake.Get()};
  const std::vector<uint8_t> tone = Mp3Fixture("tone_1s_44k_stereo.mp3");
  const std::vector<uint8_t> phrase = Mp3Fixture("phrase_bonjour.mp3");

  FakeWaveOut& device() { return *fake.waveOuts.at(0); }
  std::optional<unsigned> Play(const std::vector<uint8_t>& mp3) {
    return player.PlayRecording(mp3.data(), static_cast<int>(mp3.size()));
  }
};

TEST_F(Mp3Playing, WholeRecordingIsWrittenAndTimerCoversItsDuration) {
  const std::optional<unsigned> period = Play(tone);

  ASSERT_TRUE(period.has_value());
  EXPECT_EQ(*period, player.nDuration / 10 + 100);
  EXPECT_NEAR(*period, 1100, 10);
  ASSERT_EQ(device().writes.size(), 1u);
  EXPECT_EQ(device().writes[0], player.m_pSoundBuffer);
  EXPECT_EQ(device().trace, "ORW");  // opened, reset, then written
  EXPECT_TRUE(device().IsOpen());    // stays open after the sound, until the next play or stop
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Mp3Playing, TwoSecondRecordingStartsATimerOf2100Milliseconds) {
  const std::optional<unsigned> period = Play(Mp3Fixture("tone_2s_44k_stereo.mp3"));

  ASSERT_TRUE(period.has_value());
  EXPECT_EQ(player.nDuration, 20000u);
  EXPECT_EQ(*period, 2100u);
}

TEST_F(Mp3Playing, PlayingAgainStopsTheFirstAndStartsFromTheBeginning) {
  ASSERT_TRUE(Play(phrase));
  const std::vector<uint8_t> firstWrite = device().writes.at(0);

  const std::optional<unsigned> period = Play(phrase);

  ASSERT_TRUE(period.has_value());
  EXPECT_EQ(*period, player.nDuration / 10 + 100);
  // The playing device is reset and closed before the recording is decoded and written again.
  EXPECT_EQ(device().trace, "ORWRCORW");
  ASSERT_EQ(device().writes.size(), 2u);
  EXPECT_EQ(device().writes[1], firstWrite);
}

TEST_F(Mp3Playing, DeviceStillPlayingIsResetOnceMoreAndWrittenAgain) {
  device().writeResults = {waveout::kStillPlaying};

  ASSERT_TRUE(Play(tone));

  EXPECT_EQ(device().trace, "ORWRW");
  ASSERT_EQ(device().writes.size(), 1u);
  EXPECT_EQ(device().writes[0], player.m_pSoundBuffer);
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Mp3Playing, RefusedWriteIsReportedAndTheTimerStillRuns) {
  device().writeResults = {waveout::kStillPlaying, waveout::kStillPlaying};
  std::optional<unsigned> period = Play(tone);
  EXPECT_TRUE(period.has_value());
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kStillPlaying)});
  EXPECT_EQ(device().trace, "ORWRW");

  fake.messages.Clear();
  device().writeResults = {waveout::kDeviceLost};
  period = Play(tone);
  EXPECT_TRUE(period.has_value());
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kDeviceLost)});
  EXPECT_EQ(fake.messages.shown.at(0).caption, QStringLiteral("Ошибка"));
  EXPECT_TRUE(device().writes.empty());
}

TEST_F(Mp3Playing, NothingToPlayStopsTheSoundAndStartsNoTimer) {
  ASSERT_TRUE(Play(tone));

  EXPECT_EQ(player.PlayRecording(nullptr, 100), std::nullopt);
  EXPECT_FALSE(device().IsOpen());
  EXPECT_EQ(player.PlayRecording(tone.data(), 0), std::nullopt);
  EXPECT_EQ(player.PlayRecording(tone.data(), -5), std::nullopt);

  EXPECT_EQ(device().trace, "ORWRC");
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Mp3Playing, PcmIsNotSubmittedWithoutAnOpenDevice) {
  EXPECT_FALSE(player.PlayPcm(1000));
  ASSERT_TRUE(player.DecodeMp3ToPcm(tone.data(), tone.size()));
  player.StopDevice();

  EXPECT_FALSE(player.PlayPcm(player.nDuration));
  EXPECT_TRUE(device().writes.empty());
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Mp3Playing, PlayLengthFollowsTheDurationButNeverPassesTheBuffer) {
  ASSERT_TRUE(player.DecodeMp3ToPcm(tone.data(), tone.size()));

  ASSERT_TRUE(player.PlayPcm(5000));  // half a second
  const size_t half = device().writes.at(0).size();
  EXPECT_EQ(half % Mp3Player::kBlockAlign, 0u);
  EXPECT_GE(half, 88200u);
  EXPECT_LE(half, 88200u + 24);
  EXPECT_TRUE(std::equal(device().writes[0].begin(), device().writes[0].end(),
                         player.m_pSoundBuffer.begin()));

  ASSERT_TRUE(player.PlayPcm(0xFFFFFFFFu));  // a duration far beyond the recording
  EXPECT_EQ(device().writes.at(1), player.m_pSoundBuffer);
}

TEST_F(Mp3Playing, StopDeviceResetsAndClosesOnlyAnOpenDevice) {
  player.StopDevice();
  EXPECT_EQ(device().trace, "");

  ASSERT_TRUE(Play(tone));
  player.StopDevice();
  EXPECT_EQ(device().trace, "ORWRC");
  EXPECT_FALSE(player.IsDeviceOpen());
}

}  // namespace
}  // namespace verbaro
