// The built-in error signal: its sound resource and its playing.
#include <gtest/gtest.h>

#include <QFile>
#include <cstring>

#include "platform/QtErrorSignal.h"
#include "platform/WaveOut.h"
#include "tests/fakes/FakeWaveOut.h"
#include "tests/support/Application.h"
#include "tests/support/SoundFixtures.h"

namespace verbaro {
namespace {

uint32_t Le32(const QByteArray& bytes, int at) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.constData() + at, 4);
  return value;
}

uint16_t Le16(const QByteArray& bytes, int at) {
  uint16_t value = 0;
  std::memcpy(&value, bytes.constData() + at, 2);
  return value;
}

TEST(ErrorSignalSound, IsAShortStereoWaveWithSoftEdges) {
  QFile file(QStringLiteral(":/WAVE/612"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray wav = file.readAll();
  ASSERT_GE(wav.size(), 44);
  EXPECT_EQ(wav.left(4), "RIFF");
  EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
  EXPECT_EQ(Le16(wav, 20), 1);  // PCM
  EXPECT_EQ(Le16(wav, 22), 2);
  EXPECT_EQ(Le32(wav, 24), 44100u);
  EXPECT_EQ(Le32(wav, 28), 176400u);
  EXPECT_EQ(Le16(wav, 32), 4);
  EXPECT_EQ(Le16(wav, 34), 16);
  EXPECT_EQ(wav.mid(36, 4), "data");
  ASSERT_EQ(Le32(wav, 40), 25532u);
  ASSERT_EQ(wav.size(), 44 + 25532);

  const auto samples = test::Samples(reinterpret_cast<const uint8_t*>(wav.constData()) + 44, 25532);
  int peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(int{s}));
  EXPECT_GT(peak, 8000);   // clearly audible
  EXPECT_LT(peak, 32000);  // and not clipped
  // Starts and ends quietly, so that it does not click.
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_LT(std::abs(samples[i]), 600);
    EXPECT_LT(std::abs(samples[samples.size() - 1 - i]), 600);
  }
  // Two beeps: a quiet gap separates two audible stretches.
  const test::Span all = test::AudibleSpan(samples, 2000);
  EXPECT_GT(all.Seconds(), 0.12);
  EXPECT_GT(test::LongestQuietRun(samples, all, 2000), 300u);  // more than 7 ms
}

// The signal with a recording wave output in place of the sound server.
class ErrorSignalPlaying : public ::testing::Test {
 protected:
  FakeWaveOut* out = nullptr;
  QtErrorSignal::WaveOutFactory Factory() {
    return [this] {
      auto fake = std::make_unique<FakeWaveOut>();
      out = fake.get();
      return std::unique_ptr<WaveOut>(std::move(fake));
    };
  }
};

TEST_F(ErrorSignalPlaying, EachPlayRestartsTheWholeSignal) {
  QtErrorSignal signal(QtErrorSignal::DefaultSource(), Factory());
  ASSERT_TRUE(signal.IsLoaded());

  signal.Play();
  signal.Play();

  EXPECT_EQ(out->trace, "ORWRW");
  EXPECT_EQ(out->format.channels, 2);
  EXPECT_EQ(out->format.samplesPerSecond, 44100);
  EXPECT_EQ(out->format.bitsPerSample, 16);
  ASSERT_EQ(out->writes.size(), 2u);
  EXPECT_EQ(out->writes[0].size(), 25532u);
  EXPECT_EQ(out->writes[1], out->writes[0]);
}

TEST_F(ErrorSignalPlaying, UnavailableDeviceIsTriedAgainOnTheNextPlay) {
  QtErrorSignal signal(QtErrorSignal::DefaultSource(), Factory());
  out->openResult = waveout::kNoDevice;
  signal.Play();
  EXPECT_TRUE(out->writes.empty());

  out->openResult = waveout::kOk;
  out->writeResults = {waveout::kDeviceLost};
  signal.Play();
  EXPECT_TRUE(out->writes.empty());
  EXPECT_FALSE(out->IsOpen());  // closed after the failed write

  signal.Play();
  EXPECT_EQ(out->trace, "OORWCORW");
  EXPECT_EQ(out->writes.size(), 1u);
}

TEST_F(ErrorSignalPlaying, SourceThatIsNotAPcmWavePlaysNothing) {
  QtErrorSignal missing(QStringLiteral(":/WAVE/no-such-sound"), Factory());
  EXPECT_FALSE(missing.IsLoaded());
  missing.Play();
  EXPECT_EQ(out->trace, "");

  const QString notWave = QStringLiteral(VERBARO_TEST_FIXTURES "/mp3/tone_short_44k_stereo.mp3");
  QtErrorSignal mp3(notWave, Factory());
  EXPECT_FALSE(mp3.IsLoaded());
  mp3.Play();
  EXPECT_EQ(out->trace, "");
}

TEST(QtErrorSignalWithoutServer, PlayingIsHarmless) {
  test::EnsureApplication();
  QtErrorSignal signal;
  ASSERT_TRUE(signal.IsLoaded());
  signal.Play();
  signal.Play();
}

}  // namespace
}  // namespace verbaro
