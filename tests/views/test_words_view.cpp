// The word view base: switches and their messages, sounding, the timer handler, the Filters
// menu, loading, and the view's life from construction to destruction.
#include <gtest/gtest.h>

#include <QMenu>
#include <set>

#include "support/TestView.h"
#include "support/ViewsTestSupport.h"
#include "views/Conspect1View.h"
#include "views/Conspect2View.h"
#include "views/EntryGrid.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using test::LessonRow;
using test::ViewHarness;

const QString kEndOfFilter = QStringLiteral("Закончились данные по выбранному фильтру!");

TEST(WordsViewSwitches, HeaderAndTranslationSwitchesSpeakOnlyWithoutALesson) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  h.View().ToggleHeader();
  h.View().ToggleHeader();
  h.View().ToggleTranslations();
  EXPECT_EQ(h.Messages(),
            (std::vector<QString>{QStringLiteral("Модуль \"Конспект-1\" :\nСкрыть заголовок"),
                                  QStringLiteral("Модуль \"Конспект-1\" :\nПоказать заголовок"),
                                  QStringLiteral("Модуль \"Конспект-1\" :\nСкрыть переводы")}));
  EXPECT_NE(h.LogText().find("Модуль \"Конспект-1\" : m_bHideHeader = 1"), std::string::npos);

  ASSERT_TRUE(h.Open(test::NumberedRows(2)));
  h.fake.messages.Clear();
  const size_t plays = h.Plays();
  h.View().ToggleHeader();
  EXPECT_TRUE(h.Messages().empty());
  EXPECT_EQ(h.Plays(), plays + 1);  // redrawn and sounded again
}

TEST(WordsViewSound, EveryRepaintSoundsUnlessSwitchedOff) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open(test::NumberedRows(3)));
  EXPECT_EQ(h.Plays(), 1u);
  ASSERT_EQ(h.Timer().starts.size(), 1u);
  EXPECT_GT(h.Timer().lastPeriod, 100u);

  h.View().StopPlayback(0);  // what the frame does to the view it hides
  EXPECT_FALSE(h.WaveOut().IsOpen());
  EXPECT_TRUE(h.View().PlayCurrentSound());
  EXPECT_EQ(h.View().m_bPlayOnPaint, 0) << "sounding leaves the run switch alone";
  EXPECT_EQ(h.Plays(), 2u);

  h.View().ToggleSound();
  EXPECT_FALSE(h.View().PlayCurrentSound());
  EXPECT_EQ(h.Plays(), 2u);
  EXPECT_EQ(h.Timer().starts.size(), 2u);
  h.View().ToggleSound();  // the toggle's repaint sounds the entry at once
  EXPECT_EQ(h.Plays(), 3u);
  EXPECT_EQ(h.Messages(),
            (std::vector<QString>{QStringLiteral("Модуль \"Конспект-1\" :\nЗвук выключен!"),
                                  QStringLiteral("Модуль \"Конспект-1\" :\nЗвук включен!")}));
  EXPECT_NE(h.LogText().find("Модуль \"Конспект-1\" : m_bIsSound = 0"), std::string::npos);
}

TEST(WordsViewSound, VideoViewsWaitThePauseBetweenPhrasesToo) {
  ViewHarness h(ViewHarness::Make<test::TestView>);
  ASSERT_TRUE(h.Open(test::NumberedRows(2)));
  const unsigned plain = h.Timer().lastPeriod;
  h.View().m_bVideoMode = 1;
  h.View().m_nPhraseDelay = 700;
  h.View().PlayCurrentSound();
  EXPECT_EQ(h.Timer().lastPeriod, plain + 700);
}

TEST(WordsViewStatus, PositionInTheFilterOrTheExamScore) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open(test::NumberedRows(37)));
  EXPECT_NE(h.LogText().find("\nТекущая позиция : 1 / 37"), std::string::npos);
  CWordsView& view = h.View();
  view.m_bExamMode = 1;
  view.m_rightAnswers = 3;
  view.m_wrongAnswers = 1;
  view.m_nTotalCountAltWords = 7;
  view.m_hints = 2;
  EXPECT_EQ(grid::StatusText(view), u"Правильно: 3; Неправильно: 1; Осталось: 7; Подсказок: 2");
}

// Two plain views that advance on their timer, as the Video views do.
struct TwoTimedViews {
  ViewHarness a{ViewHarness::Make<test::TestView>};
  ViewHarness b{ViewHarness::Make<test::TestView>};
};

TEST(WordsViewTimer, OneRepeatCounterForAllViews) {
  TwoTimedViews views;
  ASSERT_TRUE(views.a.Open(test::NumberedRows(4)));
  ASSERT_TRUE(views.b.Open(test::NumberedRows(4)));
  views.a.View().m_nPhraseRepeats = 2;
  views.b.View().m_nPhraseRepeats = 3;

  ASSERT_TRUE(views.a.Timer().Fire());  // counter set to 2 and counted down to 1: repeat
  EXPECT_EQ(views.a.View().m_nUserFilterIndex, 0);
  EXPECT_EQ(views.a.Plays(), 2u);
  ASSERT_TRUE(views.b.Timer().Fire());  // B continues A's count: 0, so B moves on
  EXPECT_EQ(views.b.View().m_nUserFilterIndex, 1);
  EXPECT_EQ(CWordsView::SharedRepeatCounter(), 0) << "the next entry starts afresh";
  ASSERT_TRUE(views.a.Timer().Fire());  // started afresh from A's setting: 2, counted to 1
  EXPECT_EQ(views.a.View().m_nUserFilterIndex, 0);
  EXPECT_EQ(CWordsView::SharedRepeatCounter(), 1);
}

TEST(WordsViewTimer, StopsAtTheLastEntryAndWhenPlayingIsOff) {
  ViewHarness h(ViewHarness::Make<test::TestView>);
  ASSERT_TRUE(h.Open(test::NumberedRows(2)));
  ASSERT_TRUE(h.Timer().Fire());
  EXPECT_EQ(h.View().m_nUserFilterIndex, 1);
  ASSERT_TRUE(h.Timer().Fire());
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilter});
  EXPECT_EQ(h.View().m_bPlayOnPaint, 0);
  EXPECT_FALSE(h.Timer().IsActive());
  EXPECT_EQ(h.Plays(), 2u);

  h.View().m_nUserFilterIndex = 0;
  h.View().m_bPlayOnPaint = 1;
  h.View().Repaint();
  h.View().m_bPlayOnPaint = 0;  // a Space in Video, or the view hidden
  ASSERT_TRUE(h.Timer().Fire());
  EXPECT_FALSE(h.Timer().IsActive());
  EXPECT_EQ(h.View().m_nUserFilterIndex, 0);
  EXPECT_EQ(h.Plays(), 3u);
}

TEST(WordsViewTimer, ConspectOneLeavesTheTimerAlone) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open(test::NumberedRows(3)));
  ASSERT_TRUE(h.Timer().Fire());
  EXPECT_EQ(h.View().m_nUserFilterIndex, 0);
  EXPECT_EQ(h.Plays(), 1u);
  EXPECT_TRUE(h.Messages().empty());
}

// Rows whose key words all translate to "кошка" (one reversed entry with that many recordings,
// each of a different length), followed by a second entry "собака".
std::vector<LessonRow> SharedTranslation(int recordings) {
  std::vector<uint8_t> halfPhrase = test::Mp3Fixture("phrase_bonjour.mp3");
  halfPhrase.resize(halfPhrase.size() / 2);
  const std::vector<uint8_t> mp3[] = {test::ShortMp3(), test::Mp3Fixture("tone_1s_44k_stereo.mp3"),
                                      test::Mp3Fixture("phrase_bonjour.mp3"), halfPhrase};
  std::vector<LessonRow> rows;
  for (int i = 0; i < recordings; ++i) {
    rows.push_back({u"f", u"s", u"chatte" + ToU16(i), {u"кошка"}, mp3[i]});
  }
  rows.push_back({u"f", u"s", u"chienne", {u"собака"}, test::ShortMp3()});
  return rows;
}

TEST(WordsViewTimer, ConspectTwoSoundsEachRecordingOfAnEntryOnceThenStops) {
  for (int k : {1, 2, 3, 4}) {
    ViewHarness h(ViewHarness::Make<CConspect2View>);
    ASSERT_TRUE(h.Open(SharedTranslation(k)));
    ASSERT_EQ(h.View().m_wsKeyWord, u"кошка");
    int ticks = 0;
    while (h.Timer().Fire() && ticks < 10) ++ticks;
    EXPECT_EQ(h.Plays(), static_cast<size_t>(k)) << k << " recordings";
    EXPECT_EQ(h.View().m_nUserFilterIndex, 0);
    EXPECT_TRUE(h.Messages().empty());
    // Each recording once: no two sounded alike.
    std::set<size_t> lengths;
    for (const auto& pcm : h.WaveOut().writes) lengths.insert(pcm.size());
    EXPECT_EQ(lengths.size(), h.Plays()) << k << " recordings";
  }
}

// A first entry "кошка" and a last entry "собака" with that many recordings.
std::vector<LessonRow> LastEntryWithRecordings(int recordings) {
  const std::vector<uint8_t> mp3[] = {test::ShortMp3(), test::Mp3Fixture("tone_1s_44k_stereo.mp3")};
  std::vector<LessonRow> rows{{u"f", u"s", u"chatte", {u"кошка"}, test::ShortMp3()}};
  for (int i = 0; i < recordings; ++i) {
    rows.push_back({u"m", u"s", u"chien" + ToU16(i), {u"собака"}, mp3[i]});
  }
  return rows;
}

TEST(WordsViewTimer, ConspectTwoTellsTheEndOfTheFilterOnlyByItsKeys) {
  for (int k : {1, 2}) {
    for (const bool byEnd : {true, false}) {
      SCOPED_TRACE(testing::Message()
                   << k << " recordings, reached by " << (byEnd ? "End" : "Tab"));
      ViewHarness h(ViewHarness::Make<CConspect2View>);
      ASSERT_TRUE(h.Open(LastEntryWithRecordings(k)));
      h.Key(byEnd ? vk::kEnd : vk::kTab);
      ASSERT_EQ(h.View().m_wsKeyWord, u"собака");
      const size_t arrived = h.Plays();
      h.Key('C');  // typing has begun when the recording ends
      int ticks = 0;
      while (h.Timer().Fire() && ticks < 10) ++ticks;
      EXPECT_TRUE(h.Messages().empty());
      EXPECT_LT(ticks, 10);  // the ticks stop by themselves
      // A single recording is not repeated; of two, the other one is sounded too.
      EXPECT_GE(h.Plays(), arrived + static_cast<size_t>(k - 1));
      EXPECT_LE(h.Plays(), arrived + static_cast<size_t>(k - 1) * 2);
      EXPECT_EQ(h.View().m_nUserFilterIndex, 1);
      EXPECT_EQ(h.Typed(), u"с");

      for (int key : {vk::kTab, vk::kReturn, vk::kDown}) h.Key(key);
      EXPECT_EQ(h.Messages(), std::vector<QString>(3, kEndOfFilter));
      EXPECT_EQ(h.Typed(), u"с");
    }
  }
}

TEST(WordsViewTimer, ConspectTwoLeavesTheRepeatCounterOfTheVideoViewsAlone) {
  ViewHarness h(ViewHarness::Make<CConspect2View>);
  ASSERT_TRUE(h.Open(LastEntryWithRecordings(2)));
  h.Key(vk::kEnd);
  CWordsView::SharedRepeatCounter() = 2;  // a Video view left in mid-count
  ASSERT_TRUE(h.Timer().Fire());
  EXPECT_EQ(CWordsView::SharedRepeatCounter(), 2);
  CWordsView::SharedRepeatCounter() = 0;
}

TEST(WordsViewSound, UndecodableRecordingIsToldTwiceTheSecondBoxOwnedByTheView) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open({{u"m", u"s", u"chat", {u"кот"}, test::Recording(600, 7)}}));
  ASSERT_EQ(h.fake.messages.shown.size(), 2u);
  EXPECT_TRUE(h.fake.messages.shown[0].text.contains(QStringLiteral("Формат звука")));
  EXPECT_EQ(h.fake.messages.shown[0].owner, nullptr);  // the sound device's own report
  EXPECT_EQ(h.fake.messages.shown[1].text, QStringLiteral("Не могу обработать mp3-файл в памяти!"));
  EXPECT_EQ(h.fake.messages.shown[1].owner, &h.View());
  EXPECT_FALSE(h.Timer().IsActive());
}

TEST(WordsViewSound, RecordingThatCannotBeReadAnyMoreIsToldAndTheLessonStaysUsable) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open(test::NumberedRows(3)));
  ASSERT_EQ(h.Plays(), 1u);
  const std::vector<uint8_t> lesson = test::ReadFileBytes(h.LessonPath());
  // Cut in place while the lesson is open: its recordings can no longer be read.
  test::WriteFileBytes(h.LessonPath(), {lesson.begin(), lesson.begin() + 100});
  h.Timer().Kill();

  h.View().PlayCurrentSound();  // F2
  EXPECT_EQ(h.Messages(),
            std::vector<QString>{QStringLiteral("Не могу обработать mp3-файл в памяти!")});
  EXPECT_EQ(h.fake.messages.shown.at(0).owner, &h.View());
  EXPECT_EQ(h.Plays(), 1u);
  EXPECT_FALSE(h.Timer().IsActive());

  h.Key(vk::kTab);  // the texts are all in memory: the next entry shows
  EXPECT_EQ(h.View().m_wsKeyWord, u"mot2");
  EXPECT_EQ(h.Messages().size(), 2u);

  // Nothing was spent: once the file is whole again, the entry sounds.
  test::WriteFileBytes(h.LessonPath(), lesson);
  h.View().PlayCurrentSound();  // F2
  EXPECT_EQ(h.Plays(), 2u);
  EXPECT_TRUE(h.Timer().IsActive());
  EXPECT_EQ(h.Messages().size(), 2u);
}

TEST(WordsViewMenu, ALoadShowsTheFiltersWithCommandIdsAndCountsInTheFiltersMenu) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  std::vector<LessonRow> rows = test::NumberedRows(2);
  rows.push_back({u"v", u"", u"aller", {u"идти"}, test::ShortMp3()});
  ASSERT_TRUE(h.Open(rows));

  EXPECT_EQ(h.FilterMenu().fills, 1);
  EXPECT_EQ(h.FilterMenu().items,
            (FilterMenuItemList{{800, u"&0 - Все слова и фразы (3)"},
                                {801, u"&1 - Все существительные (2)"},
                                {802, u"&2 - Все мужские существительные (2)"},
                                {803, u"&3 - Мужские существительные, ед.ч. (2)"},
                                {804, u"&g - Глаголы (1)"}}));

  h.View().SetFilterMenu(nullptr);
  EXPECT_FALSE(h.View().BuildFilterMenu());
  EXPECT_EQ(h.Messages().back(), QStringLiteral("Нет доступа к меню!"));
}

TEST(WordsViewLoading, CancelledDialogKeepsLessonPositionTypedTextAndSound) {
  ViewHarness h(ViewHarness::Make<CConspect1View>);
  ASSERT_TRUE(h.Open(test::NumberedRows(3)));
  const std::u16string path = h.View().m_szDataFile;
  h.Keys({vk::kDown, 'M', 'O'});
  ASSERT_EQ(h.Typed(), u"mo");
  const size_t plays = h.Plays();
  const FilterMenuItemList filters = h.FilterMenu().items;
  const int fills = h.FilterMenu().fills;

  EXPECT_FALSE(h.View().OpenLesson());  // no answer queued: the dialog is cancelled

  EXPECT_EQ(h.fake.files.requests, 2);
  EXPECT_EQ(h.View().m_vWordsData.size(), 3u);
  EXPECT_EQ(h.View().m_vUserIndexes.size(), 3u);
  EXPECT_EQ(h.View().m_szDataFile, path);
  EXPECT_EQ(h.View().m_nUserFilterIndex, 1);
  EXPECT_EQ(h.Typed(), u"mo");
  EXPECT_EQ(h.FilterMenu().items, filters);
  EXPECT_EQ(h.FilterMenu().fills, fills);
  EXPECT_TRUE(h.Timer().IsActive()) << "the entry's sound runs on";
  EXPECT_TRUE(h.WaveOut().IsOpen());
  EXPECT_EQ(h.Plays(), plays);
  EXPECT_TRUE(h.Messages().empty());

  // The learner goes on where they were.
  h.Key('T');
  EXPECT_EQ(h.Typed(), u"mot");
  EXPECT_TRUE(h.View().m_typedMatches);
  h.Key(vk::kTab);
  EXPECT_EQ(h.View().m_wsKeyWord, u"mot3");
  EXPECT_EQ(h.Plays(), plays + 1);
}

TEST(WordsViewLife, LogLinesAndSoundStoppedOnceOnDestruction) {
  ViewHarness harness(ViewHarness::Make<CConspect1View>);
  ViewHarness* h = &harness;
  EXPECT_NE(h->LogText().find("Модуль \"Конспект-1\" в CWordsView::SetMainLog()"),
            std::string::npos);
  ASSERT_TRUE(h->Open(test::NumberedRows(2)));
  ASSERT_TRUE(h->WaveOut().IsOpen());
  h->View().OnDestroy();
  h->View().OnDestroy();
  EXPECT_FALSE(h->WaveOut().IsOpen());
  EXPECT_TRUE(h->View().m_vWordsData.empty());
  EXPECT_EQ(h->View().m_bPlayOnPaint, 1);
  const std::string line = "Модуль \"Конспект-1\" в CWordsView::OnDestroy() : Останавливаем звук";
  const std::string log = h->LogText();
  EXPECT_EQ(log.find(line), log.rfind(line));
  ASSERT_NE(log.find(line), std::string::npos);
}

TEST(WordsViewLife, UnreadableWorkAreaLeavesNothingToDrawOn) {
  test::EnsureApplication();
  FakePlatform fake;
  fake.workArea.rect = QRect();
  CConspect1View view(fake.Get());
  view.resize(1000, 600);
  view.Create();  // a new window is sized, and so repainted
  EXPECT_EQ(fake.messages.Texts(),
            (std::vector<QString>{QStringLiteral("Ошибка определения размеров рабочей области"),
                                  QStringLiteral("Невозмодно отобразить данные!")}));
}

TEST(WordsViewLife, NothingIsDrawnBeforeTheWindowIsCreated) {
  test::EnsureApplication();
  FakePlatform fake;
  test::TestView view(fake.Get());
  view.resize(1000, 600);
  const QImage before = view.BackBuffer().copy();
  view.Repaint();
  EXPECT_EQ(view.BackBuffer(), before);
  EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
}  // namespace verbaro
