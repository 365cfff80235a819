// Plays through the real sound server and listens to what arrived: a word through Mp3Player and
// PulseWaveOut, stopping and restarting it, and the error signal beside it. The sound goes to a
// null sink of the test's own, whose monitor parec records, so that no other program's sound
// is heard. Skipped when no sound server answers (scripts/pulse.sh starts one).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <functional>
#include <iostream>
#include <memory>

#include "platform/PulseWaveOut.h"
#include "platform/QtErrorSignal.h"
#include "sound/Mp3Player.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFixtures.h"
#include "tests/support/SoundMonitor.h"

namespace verbaro {
namespace {

using test::AudibleSpan;
using test::MonitorRecorder;
using test::PrivateNullSink;
using test::Span;

constexpr int kThreshold = 1000;

class RealPlayback : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test::EnsureApplication();
    if (!test::SoundServerAnswers()) {
      s_skipReason =
          "no PulseAudio server answers (pactl info fails); "
          "scripts/pulse.sh starts one with a null sink";
    } else if (QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty()) {
      s_skipReason = "parec (pulseaudio-utils) is not installed";
    } else {
      s_pSink = new PrivateNullSink;
      QString reason;
      if (!s_pSink->Load(&reason)) s_skipReason = reason.toStdString();
    }
  }
  static void TearDownTestSuite() {
    delete s_pSink;
    s_pSink = nullptr;
  }

  void SetUp() override {
    if (!s_skipReason.empty()) GTEST_SKIP() << s_skipReason;
    fake.platform.makeWaveOut = MakeWaveOut;
    player = std::make_unique<Mp3Player>(fake.Get());
    QString reason;
    ASSERT_TRUE(recorder.Start(s_pSink->Monitor(), &reason)) << reason.toStdString();
  }

  static std::unique_ptr<WaveOut> MakeWaveOut() {
    return std::make_unique<PulseWaveOut>(s_pSink->DeviceId());
  }

  std::vector<int16_t> WaitForSoundThenSilence(double trailingSilence) {
    return recorder.WaitForSoundThenSilence(kThreshold, trailingSilence);
  }

  // Plays with `play`, which returns where the played sound itself is audible, and records what
  // arrived. On a loaded machine PipeWire's graph may miss one cycle and drop one quantum of every
  // stream (about 21 ms of silence, with the sound no longer than played): that says nothing of
  // how the player feeds its stream, so such a run is played once more. A player that starves
  // its stream leaves the gap every time, and the wait for more data makes the sound longer.
  std::vector<int16_t> RecordWithoutServerDropout(const std::function<Span()>& play) {
    std::vector<int16_t> recorded;
    for (int attempt = 1;; ++attempt) {
      const Span expected = play();
      recorded = WaitForSoundThenSilence(0.3);
      const Span heard = AudibleSpan(recorded, kThreshold);
      const bool droppedByServer = test::LongestQuietRun(recorded, heard, kThreshold) >= 60 &&
                                   heard.Seconds() < expected.Seconds() + 0.005;
      if (!droppedByServer || attempt == 2) return recorded;
      std::cerr << "the sound server dropped a cycle of the sound; playing it once more\n";
      recorder.Forget();
    }
  }

  std::optional<unsigned> Play(const std::vector<uint8_t>& mp3) {
    return player->PlayRecording(mp3.data(), static_cast<int>(mp3.size()));
  }
  // Where the last decoded recording itself is audible, to compare the recording with.
  Span DecodedSpan() const {
    return AudibleSpan(test::Samples(player->m_pSoundBuffer), kThreshold);
  }

  FakePlatform fake;
  std::unique_ptr<Mp3Player> player;
  MonitorRecorder recorder{2};  // stereo, as the wave output plays
  const std::vector<uint8_t> phrase = test::Mp3Fixture("phrase_bonjour.mp3");
  const std::vector<uint8_t> tone = test::Mp3Fixture("tone_1s_44k_stereo.mp3");

  static inline PrivateNullSink* s_pSink = nullptr;
  static inline std::string s_skipReason;
};

// The heard sound lasts as long as the expected one. The monitor may miss the first few
// milliseconds of a new stream (it does not see the sink rewinding to start it at once); a
// starved or delayed stream would last longer.
void ExpectSameLength(const Span& heard, const Span& expected) {
  ASSERT_GT(heard.Frames(), 0u) << "nothing was heard";
  EXPECT_GT(heard.Seconds(), expected.Seconds() - 0.03);
  EXPECT_LT(heard.Seconds(), expected.Seconds() + 0.005);
}

int Peak(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(int{s}));
  return peak;
}

TEST_F(RealPlayback, WholePhraseArrivesAtTheSink) {
  const std::optional<unsigned> period = Play(phrase);
  ASSERT_TRUE(period.has_value());
  EXPECT_TRUE(fake.messages.shown.empty()) << fake.messages.shown.at(0).text.toStdString();
  test::Spin(static_cast<int>(*period));

  const std::vector<int16_t> recorded = WaitForSoundThenSilence(0.3);
  ASSERT_GT(DecodedSpan().Seconds(), 1.0);
  ExpectSameLength(AudibleSpan(recorded, kThreshold), DecodedSpan());
  // As loud as decoded: the sound is not scaled on its way.
  const int decodedPeak = Peak(test::Samples(player->m_pSoundBuffer));
  EXPECT_NEAR(Peak(recorded), decodedPeak, decodedPeak / 10);
}

TEST_F(RealPlayback, ToneIsHeardWholeAndWithoutDropoutsWhileTheUiThreadIsBusy) {
  const std::vector<int16_t> recorded = RecordWithoutServerDropout([&] {
    const std::optional<unsigned> period = Play(tone);
    EXPECT_TRUE(period.has_value());
    QThread::msleep(400);  // a long repaint: no events are handled meanwhile
    test::Spin(static_cast<int>(period.value_or(0)));
    return DecodedSpan();
  });
  const Span heard = AudibleSpan(recorded, kThreshold);
  ExpectSameLength(heard, DecodedSpan());
  // A 440 Hz tone at half volume never stays below the threshold for more than a few samples.
  EXPECT_LT(test::LongestQuietRun(recorded, heard, kThreshold), 60u);
}

TEST_F(RealPlayback, RecordingLongerThanTheServersBufferIsFedWithoutDropouts) {
  fake.platform.makeWaveOut = [] {
    return std::make_unique<PulseWaveOut>(s_pSink->DeviceId(), 200);
  };
  Mp3Player smallBuffer(fake.Get());
  const std::vector<int16_t> recorded = RecordWithoutServerDropout([&] {
    const std::optional<unsigned> period =
        smallBuffer.PlayRecording(tone.data(), static_cast<int>(tone.size()));
    EXPECT_TRUE(period.has_value());
    test::Spin(static_cast<int>(period.value_or(0)));
    return AudibleSpan(test::Samples(smallBuffer.m_pSoundBuffer), kThreshold);
  });
  const Span heard = AudibleSpan(recorded, kThreshold);
  ExpectSameLength(heard, AudibleSpan(test::Samples(smallBuffer.m_pSoundBuffer), kThreshold));
  EXPECT_LT(test::LongestQuietRun(recorded, heard, kThreshold), 60u);
}

TEST_F(RealPlayback, ErrorSignalSoundsAlongsideTheWordWithoutStoppingIt) {
  QtErrorSignal signal(QtErrorSignal::DefaultSource(), MakeWaveOut);
  const std::vector<int16_t> recorded = RecordWithoutServerDropout([&] {
    const std::optional<unsigned> period = Play(tone);
    EXPECT_TRUE(period.has_value());
    test::Spin(300);
    signal.Play();
    test::Spin(static_cast<int>(period.value_or(300)) - 300);
    return DecodedSpan();
  });
  const Span heard = AudibleSpan(recorded, kThreshold);
  ExpectSameLength(heard, DecodedSpan());
  EXPECT_LT(test::LongestQuietRun(recorded, heard, kThreshold), 60u);
  // The two sounds add up while both play: louder than the tone alone.
  EXPECT_GT(Peak(recorded), Peak(test::Samples(player->m_pSoundBuffer)) + 8000);
}

TEST_F(RealPlayback, StopCutsTheSoundAtOnce) {
  ASSERT_TRUE(Play(phrase).has_value());
  test::Spin(300);
  player->StopDevice();
  EXPECT_FALSE(player->IsDeviceOpen());

  // Silence at least as long as the rest of the phrase shows that nothing more came.
  const Span heard = AudibleSpan(WaitForSoundThenSilence(1.5), kThreshold);
  EXPECT_GT(heard.Seconds(), 0.15);
  EXPECT_LT(heard.Seconds(), 0.6);
}

TEST_F(RealPlayback, PlayingAgainRestartsFromTheBeginning) {
  QElapsedTimer sincePlay;
  ASSERT_TRUE(Play(phrase).has_value());
  sincePlay.start();
  test::Spin(400);
  const std::optional<unsigned> period = Play(phrase);
  const double firstPlaying = static_cast<double>(sincePlay.elapsed()) / 1000;
  ASSERT_TRUE(period.has_value());
  test::Spin(static_cast<int>(*period));

  const Span heard = AudibleSpan(WaitForSoundThenSilence(0.3), kThreshold);
  // The start of the first playing, then the whole phrase: not two whole phrases.
  EXPECT_NEAR(heard.Seconds(), firstPlaying + DecodedSpan().Seconds(), 0.1);
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RealPlayback, VeryShortSoundIsHeard) {
  // 10 ms of a loud square wave, far less than a usual server buffer.
  std::vector<int16_t> pcm(441 * 2);
  for (size_t frame = 0; frame < 441; ++frame) {
    pcm[frame * 2] = pcm[frame * 2 + 1] = (frame / 50) % 2 ? 12000 : -12000;
  }
  // A null sink mixes ahead as far as its streams allow, and its monitor does not see the start
  // that a new sound takes back from there: a small buffer keeps that part shorter than the sound.
  PulseWaveOut out(s_pSink->DeviceId(), 5);
  ASSERT_EQ(out.Open(PcmFormat{}), waveout::kOk);
  ASSERT_EQ(out.Write(reinterpret_cast<const uint8_t*>(pcm.data()), pcm.size() * 2), waveout::kOk);
  test::Spin(200);

  const Span heard = AudibleSpan(WaitForSoundThenSilence(0.3), kThreshold);
  ExpectSameLength(heard, AudibleSpan(pcm, kThreshold));
}

TEST_F(RealPlayback, ErrorSignalIsHeard) {
  QtErrorSignal signal(QtErrorSignal::DefaultSource(), MakeWaveOut);
  ASSERT_TRUE(signal.IsLoaded());
  signal.Play();
  test::Spin(300);

  QFile wav(QStringLiteral(":/WAVE/612"));
  ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
  const QByteArray pcm = wav.readAll().mid(44);
  const Span expected = AudibleSpan(
      test::Samples(reinterpret_cast<const uint8_t*>(pcm.constData()), pcm.size()), kThreshold);
  ExpectSameLength(AudibleSpan(WaitForSoundThenSilence(0.3), kThreshold), expected);
}

}  // namespace
}  // namespace verbaro
