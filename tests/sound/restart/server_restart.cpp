// The sound server goes away and comes back while the program runs, as desktop servers do on
// upgrades and restarts. The test starts a server of its own (PulseAudio, or PipeWire with
// VERBARO_SOUND_SERVER=pipewire), plays through the default output, and stops and starts that
// server: while it is gone a key gives the device message and nothing else; once it is back the
// next recording arrives whole at the new null sink's monitor. No other server is touched.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <memory>

#include "platform/PulseWaveOut.h"
#include "platform/QtErrorSignal.h"
#include "sound/Mp3Player.h"
#include "sound/WaveOutError.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFixtures.h"
#include "tests/support/SoundMonitor.h"
#include "tests/support/SoundServer.h"

namespace verbaro {
namespace {

using test::AudibleSpan;
using test::MonitorRecorder;
using test::PrivateSoundServer;
using test::Span;

constexpr int kThreshold = 1000;
// Far more than any step here needs, far less than the test's time limit: a call that takes
// longer has hung on the server.
constexpr qint64 kHangMilliseconds = 3000;

class ServerRestart : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test::EnsureApplication();
    s_pServer = new PrivateSoundServer;
    QString reason;
    if (!s_pServer->Start(&reason)) {
      s_skipReason = reason.toStdString();
      return;
    }
    // Before any sound client of this process connects: everything here reaches only it.
    qputenv("PULSE_SERVER", s_pServer->Address().toUtf8());
  }
  static void TearDownTestSuite() {
    delete s_pServer;
    s_pServer = nullptr;
  }

  void SetUp() override {
    if (!s_skipReason.empty()) GTEST_SKIP() << s_skipReason;
    if (!s_pServer->Running()) {
      QString reason;
      ASSERT_TRUE(s_pServer->Start(&reason)) << reason.toStdString();
    }
    fake.platform.makeWaveOut = [] { return std::make_unique<PulseWaveOut>(); };
  }

  std::optional<unsigned> Play(Mp3Player& player, const std::vector<uint8_t>& mp3) {
    QElapsedTimer clock;
    clock.start();
    std::optional<unsigned> period = player.PlayRecording(mp3.data(), static_cast<int>(mp3.size()));
    EXPECT_LT(clock.elapsed(), kHangMilliseconds) << "playing waited on the server";
    return period;
  }

  static std::vector<int16_t> HeardAfter(MonitorRecorder& recorder, double trailingSilence) {
    return recorder.WaitForSoundThenSilence(kThreshold, trailingSilence);
  }

  void ExpectHeardWhole(Mp3Player& player, const std::vector<uint8_t>& mp3) {
    MonitorRecorder recorder(2);
    QString reason;
    ASSERT_TRUE(recorder.Start(s_pServer->Monitor(), &reason)) << reason.toStdString();
    const std::optional<unsigned> period = Play(player, mp3);
    ASSERT_TRUE(period.has_value());
    EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{});
    test::Spin(static_cast<int>(*period));
    const Span heard = AudibleSpan(HeardAfter(recorder, 0.3), kThreshold);
    const Span decoded = AudibleSpan(test::Samples(player.m_pSoundBuffer), kThreshold);
    ASSERT_GT(heard.Frames(), 0u) << "nothing was heard";
    EXPECT_GT(heard.Seconds(), decoded.Seconds() - 0.03);
    EXPECT_LT(heard.Seconds(), decoded.Seconds() + 0.005);
  }

  // A key while the server is gone: the device message the first time since sound last worked,
  // nothing after that, and the timer still runs.
  void ExpectDeviceMessageOnly(Mp3Player& player, const std::vector<uint8_t>& mp3,
                               bool firstSinceSoundWorked = true) {
    fake.messages.shown.clear();
    const std::optional<unsigned> period = Play(player, mp3);
    EXPECT_TRUE(period.has_value());
    EXPECT_EQ(fake.messages.Texts(),
              firstSinceSoundWorked ? std::vector<QString>{WaveOutErrorText(waveout::kDeviceLost)}
                                    : std::vector<QString>{});
    fake.messages.shown.clear();
  }

  FakePlatform fake;
  const std::vector<uint8_t> phrase = test::Mp3Fixture("phrase_bonjour.mp3");
  const std::vector<uint8_t> tone = test::Mp3Fixture("tone_1s_44k_stereo.mp3");

  static inline PrivateSoundServer* s_pServer = nullptr;
  static inline std::string s_skipReason;
};

TEST_F(ServerRestart, SoundComesBackOnTheFirstKeyAfterTheServerReturns) {
  Mp3Player player(fake.Get());
  ExpectHeardWhole(player, phrase);

  s_pServer->Stop();
  ExpectDeviceMessageOnly(player, phrase);
  // Told once: the next keys and repaints raise no box while the server stays away.
  ExpectDeviceMessageOnly(player, tone, false);
  test::Spin(200);
  ExpectDeviceMessageOnly(player, phrase, false);

  QString reason;
  ASSERT_TRUE(s_pServer->Start(&reason)) << reason.toStdString();
  ExpectHeardWhole(player, phrase);
  // Sound worked again, so the server going once more is told once more.
  s_pServer->Stop();
  ExpectDeviceMessageOnly(player, tone);
  ExpectDeviceMessageOnly(player, tone, false);
  ASSERT_TRUE(s_pServer->Start(&reason)) << reason.toStdString();
  ExpectHeardWhole(player, phrase);
}

// The program's streams on the server, by index.
QStringList Streams() {
  QStringList indexes;
  for (const QString& line : test::RunPactl({QStringLiteral("list"), QStringLiteral("short"),
                                             QStringLiteral("sink-inputs")})
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    indexes << line.section(QLatin1Char('\t'), 0, 0);
  }
  return indexes;
}

TEST_F(ServerRestart, OneStreamServesEveryRecordingUntilTheServerGoes) {
  // Making a stream is slow on some servers: the output keeps its one stream between recordings
  // and stops, and makes a new one only on a new server.
  Mp3Player player(fake.Get());
  ExpectHeardWhole(player, phrase);
  const QStringList first = Streams();
  ASSERT_EQ(first.size(), 1);
  player.StopDevice();
  ExpectHeardWhole(player, tone);
  EXPECT_EQ(Streams(), first);

  s_pServer->Stop();
  QString reason;
  ASSERT_TRUE(s_pServer->Start(&reason)) << reason.toStdString();
  ExpectHeardWhole(player, phrase);
  EXPECT_EQ(Streams().size(), 1);
}

TEST_F(ServerRestart, ServerVanishingInTheMiddleOfARecordingBlocksNothing) {
  Mp3Player player(fake.Get());
  ASSERT_TRUE(Play(player, tone).has_value());
  test::Spin(250);
  s_pServer->Stop(/*kill=*/true);  // as a crash: no goodbye to the clients
  test::Spin(200);

  QElapsedTimer clock;
  clock.start();
  player.StopDevice();
  EXPECT_LT(clock.elapsed(), kHangMilliseconds);
  ExpectDeviceMessageOnly(player, tone);

  QString reason;
  ASSERT_TRUE(s_pServer->Start(&reason)) << reason.toStdString();
  ExpectHeardWhole(player, tone);
}

TEST_F(ServerRestart, ServerVanishingWhileTheRecordingPlaysIsReportedByTheNextWrite) {
  PulseWaveOut out;
  ASSERT_EQ(out.Open(PcmFormat{}), waveout::kOk);
  std::vector<uint8_t> silence(44100 * 4, 0);  // one second
  ASSERT_EQ(out.Write(silence.data(), silence.size()), waveout::kOk);
  EXPECT_EQ(out.Write(silence.data(), silence.size()), waveout::kStillPlaying);
  s_pServer->Stop(/*kill=*/true);
  test::Spin(200);
  EXPECT_EQ(out.Write(silence.data(), silence.size()), waveout::kDeviceLost);
  EXPECT_TRUE(out.IsOpen());
  out.Close();
  EXPECT_FALSE(out.IsOpen());
}

TEST_F(ServerRestart, ProgramStartedWithoutAServerPlaysOnceOneComes) {
  s_pServer->Stop();
  Mp3Player player(fake.Get());
  const std::optional<unsigned> period = Play(player, phrase);
  EXPECT_EQ(period, std::nullopt);
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>{WaveOutErrorText(waveout::kNoDevice)});
  fake.messages.shown.clear();

  QString reason;
  ASSERT_TRUE(s_pServer->Start(&reason)) << reason.toStdString();
  ExpectHeardWhole(player, phrase);
}

TEST_F(ServerRestart, ErrorSignalIsSilentWhileTheServerIsGoneAndSoundsAfter) {
  QtErrorSignal signal;
  ASSERT_TRUE(signal.IsLoaded());
  s_pServer->Stop();
  signal.Play();
  signal.Play();

  QString reason;
  ASSERT_TRUE(s_pServer->Start(&reason)) << reason.toStdString();
  MonitorRecorder recorder(2);
  ASSERT_TRUE(recorder.Start(s_pServer->Monitor(), &reason)) << reason.toStdString();
  signal.Play();
  const Span heard = AudibleSpan(HeardAfter(recorder, 0.3), kThreshold);
  EXPECT_GT(heard.Seconds(), 0.1);
  EXPECT_LT(heard.Seconds(), 0.2);
}

// The state of a sink as the server reports it (RUNNING while a stream plays on it).
QString SinkState(const QString& sink) {
  for (const QString& line :
       test::RunPactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")})
           .split(QLatin1Char('\n'))) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() >= 5 && fields[1] == sink) return fields[4];
  }
  return {};
}

TEST_F(ServerRestart, NextRecordingFollowsAChangedDefaultOutput) {
  Mp3Player player(fake.Get());
  const QString first = QString::fromLatin1(PrivateSoundServer::kSinkName);
  const QString headset = QStringLiteral("verbaro_headset");
  const QString module =
      test::RunPactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                      QStringLiteral("sink_name=") + headset});
  ASSERT_FALSE(module.isEmpty());
  MonitorRecorder recorder(2);
  QString reason;
  ASSERT_TRUE(recorder.Start(headset + QStringLiteral(".monitor"), &reason))
      << reason.toStdString();
  ExpectHeardWhole(player, phrase);  // still on the first output: the headset hears nothing
  EXPECT_EQ(AudibleSpan(recorder.Samples(), kThreshold).Frames(), 0u);

  ASSERT_FALSE(test::RunPactl({QStringLiteral("set-default-sink"), headset}).isNull());
  const std::optional<unsigned> period = Play(player, phrase);
  ASSERT_TRUE(period.has_value());
  test::Spin(300);
  // A recorder of the old output's monitor would follow the default too, so the sinks tell.
  EXPECT_EQ(SinkState(headset), QStringLiteral("RUNNING"));
  EXPECT_NE(SinkState(first), QStringLiteral("RUNNING"));
  test::Spin(static_cast<int>(*period));
  EXPECT_GT(AudibleSpan(HeardAfter(recorder, 0.3), kThreshold).Seconds(), 1.0);

  test::RunPactl({QStringLiteral("set-default-sink"), first});
  test::RunPactl({QStringLiteral("unload-module"), module});
}

}  // namespace
}  // namespace verbaro
