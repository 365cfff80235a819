// The built-in error signal: its sound resource, and its player without a sound server.
#include <gtest/gtest.h>

#include <QFile>
#include <cstring>

#include "QtApp.h"
#include "SoundFixtures.h"
#include "platform/QtErrorSignal.h"

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
  size_t quietRun = 0, longestQuiet = 0;
  for (size_t frame = all.first; frame < all.end; ++frame) {
    quietRun = std::abs(samples[frame * 2]) < 2000 ? quietRun + 1 : 0;
    longestQuiet = std::max(longestQuiet, quietRun);
  }
  EXPECT_GT(longestQuiet, 300u);  // more than 7 ms
}

TEST(QtErrorSignalPlayer, LoadsTheBuiltInSoundAndPlaysWithoutSoundServer) {
  test::EnsureQtApplication();
  QtErrorSignal signal;
  ASSERT_TRUE(test::WaitFor([&] { return signal.IsLoaded() || signal.HasFailed(); }, 5000));
  EXPECT_TRUE(signal.IsLoaded());

  // Without a sound server nothing is heard, but playing, restarting and destroying are safe.
  signal.Play();
  signal.Play();
  test::Spin(50);
}

TEST(QtErrorSignalPlayer, MissingSoundFailsToLoad) {
  test::EnsureQtApplication();
  QtErrorSignal signal(QUrl(QStringLiteral("qrc:/WAVE/no-such-sound")));
  ASSERT_TRUE(test::WaitFor([&] { return signal.IsLoaded() || signal.HasFailed(); }, 5000));
  EXPECT_TRUE(signal.HasFailed());
  signal.Play();
}

}  // namespace
}  // namespace verbaro
