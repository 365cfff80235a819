// A short lesson played through in Video-1 on the real wave output and the real timer, heard on
// the monitor of a null sink of the test's own: three tones of different pitch must come out in
// lesson order, separated by the pause between phrases, and the end of the filter must be told.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "../support/VideoFixtures.h"
#include "SoundBursts.h"
#include "platform/PulseWaveOut.h"
#include "tests/fakes/FakeFilterMenu.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/LessonWriter.h"
#include "tests/support/SoundMonitor.h"
#include "views/Video1View.h"

namespace verbaro::test {
namespace {

constexpr int32_t kPauseMs = 400;

TEST(VideoRealSound, PlaysAShortLessonThroughInOrderAndTellsTheEnd) {
  EnsureApplication();
  if (!SoundServerAnswers()) {
    GTEST_SKIP() << "no PulseAudio server answers (pactl info fails); scripts/pulse.sh starts one";
  }
  QString reason;
  PrivateNullSink sink;
  if (!sink.Load(&reason)) GTEST_SKIP() << reason.toStdString();
  MonitorRecorder recorder;
  ASSERT_TRUE(recorder.Start(sink.Monitor(), &reason)) << reason.toStdString();

  FakePlatform fake;
  Platform platform = fake.Get();
  platform.makeTimer = [] { return std::make_unique<QtViewTimer>(); };
  platform.makeWaveOut = [&sink] { return std::make_unique<PulseWaveOut>(sink.DeviceId()); };

  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("tones.db")).toStdString();
  WriteLesson(path, {{u"m", u"s", u"grave", {u"низкий"}, VideoMp3("tone_400hz.mp3")},
                     {u"m", u"s", u"moyen", {u"средний"}, VideoMp3("tone_800hz.mp3")},
                     {u"m", u"s", u"aigu", {u"высокий"}, VideoMp3("tone_1600hz.mp3")}});
  fake.files.answers.push_back(QString::fromStdString(path));

  CWordsView::SharedRepeatCounter() = 0;
  FakeFilterMenu menu;
  CVideo1View view(platform);
  view.SetFilterMenu(&menu);
  view.resize(640, 480);
  view.Create();
  view.show();
  view.m_nPhraseDelay = kPauseMs;
  ASSERT_TRUE(view.OpenLesson());

  const QDeadlineTimer deadline(20000);
  while (fake.messages.shown.empty() && !deadline.hasExpired()) QTest::qWait(20);
  QTest::qWait(300);  // let the last tone leave the sink
  const std::vector<int16_t> samples = recorder.Stop();

  ASSERT_EQ(fake.messages.Texts(),
            std::vector<QString>{QStringLiteral("Закончились данные по выбранному фильтру!")});
  const std::vector<SoundBurst> bursts = FindBursts(samples, MonitorRecorder::kRate);
  std::ostringstream heard;
  for (const SoundBurst& b : bursts) {
    heard << " [" << b.startSeconds << " s to " << b.endSeconds << " s, " << b.frequency << " Hz]";
  }
  SCOPED_TRACE("heard:" + heard.str());
  ASSERT_EQ(bursts.size(), 3u) << "recorded " << samples.size() << " samples";
  const double pitches[] = {400, 800, 1600};
  for (size_t i = 0; i < bursts.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "tone " << i + 1);
    EXPECT_NEAR(bursts[i].frequency, pitches[i], pitches[i] * 0.05);
    EXPECT_NEAR(bursts[i].endSeconds - bursts[i].startSeconds, 0.6, 0.15);
    if (i > 0) {
      // Each tone is followed by the end-of-sound margin of 100 ms and the pause.
      const double gap = bursts[i].startSeconds - bursts[i - 1].endSeconds;
      EXPECT_GT(gap, (100 + kPauseMs) / 1000.0 - 0.15);
      EXPECT_LT(gap, (100 + kPauseMs) / 1000.0 + 0.5);
    }
  }
}

}  // namespace
}  // namespace verbaro::test
