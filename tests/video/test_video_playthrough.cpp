// The play-through of the Video modes, driven by hand-fired end-of-sound timers: repeats, the
// end of the filter, pausing and resuming with Space, the mode switch, sound off, the pause
// between phrases and Video-2's walk through the recordings of reversed entries.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "platform/QtText.h"
#include "sound/Mp3Player.h"
#include "support/VideoHarness.h"

namespace verbaro::test {
namespace {

using Words = std::vector<std::u16string>;

const QString kEndOfFilter = QStringLiteral("Закончились данные по выбранному фильтру!");

TEST(VideoPlayThrough, SoundsEveryEntryTheLastTooAsOftenAsTheRepeatSettingThenStops) {
  VideoHarness h;
  h.View().m_nPhraseRepeats = 3;
  ASSERT_TRUE(h.Open(NumberedRows(4)));

  h.RunUntilHalt();

  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot1", u"mot1", u"mot2", u"mot2", u"mot2", u"mot3",
                                u"mot3", u"mot3", u"mot4", u"mot4", u"mot4"}));
  ASSERT_EQ(h.fake.messages.shown.size(), 1u);
  EXPECT_EQ(h.fake.messages.shown[0].caption, QStringLiteral("Информация"));
  EXPECT_EQ(h.fake.messages.shown[0].text, kEndOfFilter);
  EXPECT_EQ(h.fake.messages.shown[0].owner, &h.View());
  EXPECT_EQ(h.Position(), 3);
  EXPECT_EQ(h.View().m_bPlayOnPaint, 0);
  EXPECT_FALSE(h.Timer().IsActive());
}

TEST(VideoPlayThrough, WithOneRepeatEachEntryIsSoundedOnceADurationPlus100MsApart) {
  VideoHarness h;
  ASSERT_TRUE(h.Open(NumberedRows(3)));
  const unsigned period = h.View().Player().nDuration / 10 + 100;

  h.RunUntilHalt();

  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot2", u"mot3"}));
  EXPECT_EQ(h.Timer().starts, (std::vector<unsigned>{period, period, period}));
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter});
}

TEST(VideoPlayThrough, ThePauseBetweenPhrasesLengthensTheWait) {
  VideoHarness h;
  h.View().m_nPhraseDelay = 750;
  ASSERT_TRUE(h.Open(NumberedRows(2)));

  ASSERT_TRUE(h.Timer().IsActive());
  EXPECT_EQ(h.Timer().lastPeriod, h.View().Player().nDuration / 10 + 100 + 750);
}

TEST(VideoPlayThrough, SpacePausesAfterTheRecordingAndEnterResumesTheSameEntry) {
  VideoHarness h;
  ASSERT_TRUE(h.Open(NumberedRows(3)));
  ASSERT_EQ(h.Sounded(), Words{u"mot1"});

  h.Key(vk::kSpace);  // while mot1 plays
  EXPECT_EQ(h.Sounded(), Words{u"mot1"}) << "Space draws and sounds nothing";
  EXPECT_TRUE(h.Tick());
  EXPECT_FALSE(h.Timer().IsActive()) << "the tick after Space halts the play-through";
  EXPECT_EQ(h.Sounded(), Words{u"mot1"});
  EXPECT_EQ(h.Position(), 0);

  h.Key(vk::kSpace);
  EXPECT_EQ(h.Sounded(), Words{u"mot1"}) << "Space again starts nothing by itself";
  EXPECT_FALSE(h.Timer().IsActive());

  h.Key(vk::kReturn);
  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot1"}));
  h.RunUntilHalt();
  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot1", u"mot2", u"mot3"}));
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter});
}

TEST(VideoPlayThrough, AfterAPauseTheNextKeySoundsWhatItShowsAndGoesOn) {
  VideoHarness h;
  ASSERT_TRUE(h.Open(NumberedRows(3)));
  h.Key(vk::kSpace);
  h.Tick();
  ASSERT_FALSE(h.Timer().IsActive());

  h.Key(vk::kDown);
  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot2"})) << "moving to an entry sounds it";
  EXPECT_EQ(h.View().m_bPlayOnPaint, 1);
  EXPECT_TRUE(h.Timer().IsActive());
  h.RunUntilHalt();
  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot2", u"mot3"}));
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter});
}

TEST(VideoPlayThrough, AtTheEndTheRepeatButtonSoundsEveryTimeAndStartsNothing) {
  VideoHarness h;
  ASSERT_TRUE(h.Open(NumberedRows(2)));
  h.RunUntilHalt();
  ASSERT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter});

  for (int press = 0; press < 3; ++press) {
    EXPECT_TRUE(h.View().PlayCurrentSound()) << "F2, press " << press;
    EXPECT_TRUE(h.Tick()) << "the recording's end";
    EXPECT_FALSE(h.Timer().IsActive());
  }
  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot2", u"mot2", u"mot2", u"mot2"}));
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter}) << "the end is told once";
}

TEST(VideoPlayThrough, EnterSoundsTheEntryAgainWithoutAdvancing) {
  VideoHarness h;
  ASSERT_TRUE(h.Open(NumberedRows(3)));

  h.Key(vk::kReturn);
  h.Key(vk::kReturn);

  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot1", u"mot1"}));
  EXPECT_EQ(h.Position(), 0);
}

TEST(VideoPlayThrough, HidingTheViewStopsItAndTheFirstKeyAfterTheReturnGoesOn) {
  VideoHarness h;
  ASSERT_TRUE(h.Open(NumberedRows(3)));
  ASSERT_TRUE(h.Timer().IsActive());
  FakeWaveOut& out = *h.fake.waveOuts.at(0);
  const int resetsBefore = out.resets;

  // What the frame does to the view it leaves.
  h.View().StopPlayback(0);
  h.View().hide();
  EXPECT_GT(out.resets, resetsBefore) << "the sound is cut at once";
  EXPECT_FALSE(out.IsOpen());
  h.Tick();  // the pending tick
  EXPECT_FALSE(h.Timer().IsActive());
  EXPECT_EQ(h.Sounded(), Words{u"mot1"});
  EXPECT_EQ(h.Position(), 0);

  h.View().show();
  h.Key(vk::kReturn);
  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot1"}));
  EXPECT_TRUE(h.Timer().IsActive());
  h.Tick();
  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot1", u"mot2"}));
}

TEST(VideoPlayThrough, WithSoundOffEntriesMoveOnlyByKeys) {
  VideoHarness h;
  h.View().ToggleSound();
  ASSERT_EQ(h.View().m_bIsSound, 0);
  ASSERT_TRUE(h.Open(NumberedRows(3)));

  EXPECT_FALSE(h.Timer().IsActive());
  EXPECT_EQ(h.RunUntilHalt(), 0);
  EXPECT_EQ(h.Position(), 0);

  h.Key(vk::kDown);
  EXPECT_EQ(h.Position(), 1);
  EXPECT_EQ(h.View().m_wsKeyWord, u"mot2");
  EXPECT_FALSE(h.Timer().IsActive());
  EXPECT_TRUE(h.Sounded().empty());
}

TEST(VideoPlayThrough, AnEntryReachedByHandGetsTheFullRepeatCount) {
  VideoHarness h;
  h.View().m_nPhraseRepeats = 3;
  ASSERT_TRUE(h.Open(NumberedRows(4)));
  h.Tick();  // mot1 twice: one repeat left on the counter

  h.Key(vk::kDown);  // mot2 by hand
  h.RunUntilHalt();

  EXPECT_EQ(h.Sounded(), (Words{u"mot1", u"mot1", u"mot2", u"mot2", u"mot2", u"mot3", u"mot3",
                                u"mot3", u"mot4", u"mot4", u"mot4"}));
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter});
}

// A box and a file dialog during which the end-of-sound timer runs out, as it does under a
// modal window.
class BoxesWhileTheTimerRunsOut : public MessageBoxes {
 public:
  std::function<void()> whileOpen;
  std::vector<QString> texts;

 protected:
  void Present(QWidget*, const QString&, const QString& text, MessageKind) override {
    texts.push_back(text);
    if (whileOpen) whileOpen();
  }
  bool PresentQuestion(QWidget*, const QString&, const QString&) override { return false; }
};

class DialogWhileTheTimerRunsOut : public FileChooser {
 public:
  std::function<void()> whileOpen;
  QStringList answers;
  std::optional<QString> ChooseLessonFile(QWidget*) override {
    if (whileOpen) whileOpen();
    if (answers.isEmpty()) return std::nullopt;
    return answers.takeFirst();
  }
};

TEST(VideoPlayThrough, WaitsWhileTheProgramsDialogOrBoxIsOpenAndGoesOnAfter) {
  FakePlatform fake;
  BoxesWhileTheTimerRunsOut boxes;
  DialogWhileTheTimerRunsOut dialog;
  Platform platform = fake.Get();
  platform.messages = &boxes;
  platform.files = &dialog;
  CWordsView::SharedRepeatCounter() = 0;
  FakeFilterMenu menu;
  CVideo1View view(platform);
  view.SetFilterMenu(&menu);
  view.resize(800, 600);
  view.Create();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("lesson.db"));
  WriteLesson(path.toStdString(), NumberedRows(3));
  dialog.answers << path;
  ASSERT_TRUE(view.OpenLesson());
  auto& timer = dynamic_cast<FakeViewTimer&>(view.Timer());
  const auto plays = [&fake] {
    size_t total = 0;
    for (const FakeWaveOut* out : fake.waveOuts) total += out->writes.size();
    return total;
  };
  ASSERT_EQ(plays(), 1u);

  // Ctrl+O, the recording ends, Escape.
  dialog.whileOpen = [&] { EXPECT_TRUE(timer.Fire()); };
  EXPECT_FALSE(view.OpenLesson());
  EXPECT_EQ(view.m_nUserFilterIndex, 0) << "nothing went on while the dialog was open";
  EXPECT_EQ(plays(), 1u);
  EXPECT_TRUE(timer.Fire()) << "the play-through goes on once it is closed";
  EXPECT_EQ(view.m_nUserFilterIndex, 1);
  EXPECT_EQ(plays(), 2u);

  // A box of the view: choosing a filter sounds its first entry and tells the choice.
  boxes.whileOpen = [&] { EXPECT_TRUE(timer.Fire()); };
  view.SelectUserFilter(800, u"Модуль");
  EXPECT_EQ(boxes.texts.size(), 1u) << "no box on top of the box";
  EXPECT_EQ(view.m_nUserFilterIndex, 0);
  EXPECT_EQ(plays(), 3u);
  boxes.whileOpen = nullptr;
  EXPECT_TRUE(timer.Fire());
  EXPECT_EQ(view.m_nUserFilterIndex, 1);
  EXPECT_EQ(plays(), 4u);
}

// Reversed lesson: "дом" has one recording, "хороший" two (rows a and b share it).
std::vector<LessonRow> ReversedLesson() {
  const std::vector<uint8_t> mp3 = ShortMp3();
  return {{u"adj,m", u"", u"a", {u"хороший"}, mp3},
          {u"m", u"s", u"c", {u"дом"}, mp3},
          {u"adj,m", u"", u"b", {u"хороший"}, mp3}};
}

TEST(Video2PlayThrough, SoundsEveryRecordingOfEveryEntryThenStopsAtTheLastEntry) {
  VideoHarness h(VideoHarness::Mode::Video2);
  h.View().m_nPhraseRepeats = 3;  // no effect on the reversed walk
  ASSERT_TRUE(h.Open(ReversedLesson()));
  ASSERT_EQ(h.View().m_vUserIndexes.size(), 2u);

  h.RunUntilHalt();

  EXPECT_EQ(h.Sounded(), (Words{u"дом", u"хороший", u"хороший"}));
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter});
  EXPECT_EQ(h.Position(), 1);
  EXPECT_FALSE(h.Timer().IsActive());
}

TEST(Video2PlayThrough, AdvancesAfterTheLastRecordingOfAnEntry) {
  VideoHarness h(VideoHarness::Mode::Video2);
  const std::vector<uint8_t> mp3 = ShortMp3();
  ASSERT_TRUE(h.Open({{u"m", u"s", u"x", {u"бег"}, mp3},
                      {u"m", u"s", u"y", {u"бег"}, mp3},
                      {u"m", u"s", u"z", {u"вол"}, mp3},
                      {u"m", u"s", u"w", {u"год"}, mp3}}));

  EXPECT_EQ(h.Position(), 0);
  EXPECT_EQ(h.View().m_nCurMp3Index, 1) << "the next tick plays the second recording";
  h.Tick();
  EXPECT_EQ(h.Position(), 0) << "the second recording belongs to the same entry";
  EXPECT_EQ(h.View().m_nCurMp3Index, 0);
  h.Tick();
  EXPECT_EQ(h.Position(), 1) << "after the last recording the tick moves on";
  h.RunUntilHalt();

  EXPECT_EQ(h.Sounded(), (Words{u"бег", u"бег", u"вол", u"год"}));
  EXPECT_EQ(h.Position(), 2);
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter});
}

}  // namespace
}  // namespace verbaro::test
