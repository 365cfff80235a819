// Without a sound device the learner is told once, in one box that names the device, until a
// recording reaches a device again; the recording itself is never blamed for it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/SoundDeviceNotice.h"
#include "sound/Mp3Player.h"
#include "sound/WaveOutError.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFixtures.h"

namespace verbaro {
namespace {

const QString kCannotProcess = QStringLiteral("Не могу обработать mp3-файл в памяти!");

class DeviceNotice : public ::testing::Test {
 protected:
  std::optional<unsigned> Play(Mp3Player& player) {
    return player.PlayRecording(mp3.data(), static_cast<int>(mp3.size()));
  }
  FakePlatform fake;
  const std::vector<uint8_t> mp3 = test::Mp3Fixture("tone_1s_44k_stereo.mp3");
};

TEST_F(DeviceNotice, MissingDeviceIsToldOnceForEveryViewUntilSoundWorksAgain) {
  // Two views' players share the program's one notice.
  Mp3Player conspect(fake.Get()), video(fake.Get());
  FakeWaveOut& first = *fake.waveOuts.at(0);
  FakeWaveOut& second = *fake.waveOuts.at(1);
  first.openResult = second.openResult = waveout::kNoDevice;

  EXPECT_EQ(Play(conspect), std::nullopt);
  EXPECT_EQ(Play(conspect), std::nullopt);  // a repaint: nothing new to tell
  EXPECT_EQ(Play(video), std::nullopt);     // another mode: the same missing device
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kNoDevice)});
  EXPECT_EQ(fake.messages.shown.at(0).caption, QStringLiteral("Ошибка"));

  // The server comes: the next recording plays and nothing is shown.
  first.openResult = second.openResult = waveout::kOk;
  fake.messages.Clear();
  EXPECT_TRUE(Play(video).has_value());
  EXPECT_EQ(video.hWaveOut->IsOpen(), true);
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{});

  // It goes away again, mid-play this time: told once more, in any view.
  second.writeResults = {waveout::kDeviceLost, waveout::kDeviceLost};
  first.openResult = waveout::kNoDevice;
  EXPECT_TRUE(Play(video).has_value());  // the open worked; the write found no server
  EXPECT_EQ(Play(conspect), std::nullopt);
  EXPECT_TRUE(Play(video).has_value());
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kDeviceLost)});
}

TEST_F(DeviceNotice, OtherOutputFailuresAreToldEveryTimeAndDoNotSilenceTheDeviceNotice) {
  Mp3Player player(fake.Get());
  FakeWaveOut& device = *fake.waveOuts.at(0);
  device.openResult = waveout::kBadFormat;
  EXPECT_EQ(Play(player), std::nullopt);
  EXPECT_EQ(Play(player), std::nullopt);
  // The output refused; the recording decoded and is not blamed.
  EXPECT_EQ(fake.messages.Texts(), (std::vector<QString>{WaveOutErrorText(waveout::kBadFormat),
                                                         WaveOutErrorText(waveout::kBadFormat)}));
  fake.messages.Clear();
  device.openResult = waveout::kNoDevice;
  EXPECT_EQ(Play(player), std::nullopt);
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kNoDevice)});

  // A write the device refuses for another reason is told each time and is no sign that sound
  // works: the missing device stays told.
  fake.messages.Clear();
  device.openResult = waveout::kOk;
  device.writeResults = {waveout::kNoMemory, waveout::kNoMemory};
  EXPECT_TRUE(Play(player).has_value());
  EXPECT_TRUE(Play(player).has_value());
  device.openResult = waveout::kNoDevice;
  EXPECT_EQ(Play(player), std::nullopt);
  EXPECT_EQ(fake.messages.Texts(), (std::vector<QString>{WaveOutErrorText(waveout::kNoMemory),
                                                         WaveOutErrorText(waveout::kNoMemory)}));
}

TEST_F(DeviceNotice, AnUndecodableRecordingIsStillBlamedWhileTheDeviceIsMissing) {
  Mp3Player player(fake.Get());
  fake.waveOuts.at(0)->openResult = waveout::kNoDevice;
  EXPECT_EQ(Play(player), std::nullopt);
  fake.messages.Clear();
  const std::vector<uint8_t> noise(600, 7);
  EXPECT_EQ(player.PlayRecording(noise.data(), static_cast<int>(noise.size())), std::nullopt);
  EXPECT_EQ(fake.messages.Texts(),
            (std::vector<QString>{WaveOutErrorText(waveout::kBadFormat), kCannotProcess}));
}

TEST(SoundDeviceNoticeCodes, OnlyAMissingOrLostDeviceCountsAsNoDevice) {
  for (int code : {waveout::kNoDevice, waveout::kDeviceLost}) {
    EXPECT_TRUE(SoundDeviceNotice::MeansNoDevice(code)) << code;
  }
  for (int code : {waveout::kOk, waveout::kError, waveout::kNotOpen, waveout::kNoMemory,
                   waveout::kBadFormat, waveout::kStillPlaying}) {
    EXPECT_FALSE(SoundDeviceNotice::MeansNoDevice(code)) << code;
  }
}

}  // namespace
}  // namespace verbaro
