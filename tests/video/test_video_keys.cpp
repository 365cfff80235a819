// The keys of the Video modes: the key table as a plain rule, and on a view with a lesson (the
// end-of-filter message, the recording index of reversed entries, Space drawing nothing).
#include <gtest/gtest.h>

#include "support/VideoHarness.h"
#include "views/Video2View.h"

namespace verbaro::test {
namespace {

using Action = VideoKeyResult::Action;

const QString kEndOfFilterMessage = QStringLiteral("Закончились данные по выбранному фильтру!");

struct KeyCase {
  int key;
  int32_t position;
  int32_t count;
  Action action;
  int32_t newPosition;
  bool reset;
};

TEST(VideoKeyTable, MovesWithinTheFilterAndResetsTheRecordingWhereItSays) {
  const KeyCase cases[] = {
      {vk::kTab, 0, 5, Action::Repaint, 1, true},
      {vk::kDown, 3, 5, Action::Repaint, 4, true},
      {vk::kDown, 4, 5, Action::EndOfFilter, 4, false},
      {vk::kTab, 0, 1, Action::EndOfFilter, 0, false},
      {vk::kUp, 2, 5, Action::Repaint, 1, true},
      {vk::kUp, 0, 5, Action::Repaint, 0, false},
      {vk::kPrior, 12, 40, Action::Repaint, 2, true},
      {vk::kPrior, 10, 40, Action::Repaint, 0, true},
      {vk::kPrior, 9, 40, Action::Repaint, 0, true},
      {vk::kPrior, 0, 40, Action::Repaint, 0, true},
      {vk::kNext, 0, 5, Action::Repaint, 4, true},
      {vk::kNext, 0, 11, Action::Repaint, 10, true},
      {vk::kNext, 1, 11, Action::Repaint, 10, true},
      {vk::kNext, 4, 5, Action::Repaint, 4, true},
      {vk::kHome, 7, 9, Action::Repaint, 0, true},
      {vk::kEnd, 2, 9, Action::Repaint, 8, true},
      {vk::kSpace, 3, 9, Action::TogglePlay, 3, false},
      {vk::kReturn, 3, 9, Action::Repaint, 3, false},
      {'A', 3, 9, Action::Repaint, 3, false},
  };
  for (const KeyCase& c : cases) {
    const VideoKeyResult r = ApplyVideoKey(c.key, c.position, c.count);
    SCOPED_TRACE(testing::Message()
                 << "key " << c.key << " at " << c.position << " of " << c.count);
    EXPECT_EQ(r.action, c.action);
    EXPECT_EQ(r.position, c.newPosition);
    EXPECT_EQ(r.resetMp3Index, c.reset);
  }
}

TEST(VideoKeyTable, AnEmptyFilterNeverGivesANegativePosition) {
  for (const int key : {vk::kNext, vk::kEnd, vk::kHome, vk::kPrior, vk::kUp}) {
    EXPECT_EQ(ApplyVideoKey(key, 0, 0).position, 0) << "key " << key;
  }
  EXPECT_EQ(ApplyVideoKey(vk::kDown, 0, 0).action, Action::EndOfFilter);
}

TEST(VideoKeys, DownAtTheLastEntryTellsTheEndAndChangesNothing) {
  VideoHarness h;
  ASSERT_TRUE(h.Open(NumberedRows(2)));
  h.Key(vk::kEnd);
  const size_t sounded = h.Sounded().size();

  h.Key(vk::kDown);

  EXPECT_EQ(h.Position(), 1);
  EXPECT_EQ(h.Sounded().size(), sounded) << "nothing is drawn or sounded";
  ASSERT_EQ(h.fake.messages.shown.size(), 1u);
  EXPECT_EQ(h.fake.messages.shown[0].caption, QStringLiteral("Информация"));
  EXPECT_EQ(h.fake.messages.shown[0].text,
            QStringLiteral("Закончились данные по выбранному фильтру!"));
}

TEST(VideoKeys, MovingInVideo2StartsTheNewEntryAtItsFirstRecording) {
  VideoHarness h(VideoHarness::Mode::Video2);
  const std::vector<uint8_t> mp3 = ShortMp3();
  ASSERT_TRUE(h.Open({{u"m", u"s", u"x", {u"бег"}, mp3},
                      {u"m", u"s", u"y", {u"бег"}, mp3},
                      {u"m", u"s", u"p", {u"вол"}, mp3},
                      {u"m", u"s", u"q", {u"вол"}, mp3},
                      {u"m", u"s", u"r", {u"вол"}, mp3}}));
  ASSERT_EQ(h.View().m_nCurMp3Index, 1);

  h.Key(vk::kEnd);  // "вол": its first recording, then the index moves on to the second
  EXPECT_EQ(h.Position(), 1);
  EXPECT_EQ(h.View().m_wsKeyWord, u"вол");
  EXPECT_EQ(h.View().m_nCurMp3Index, 1);
  EXPECT_EQ(h.View().m_pMp3Word, h.View().m_vpMp3Word[0]) << "the first recording was played";

  h.Key(vk::kUp);
  EXPECT_EQ(h.Position(), 0);
  EXPECT_EQ(h.View().m_pMp3Word, h.View().m_vpMp3Word[0]);
}

TEST(VideoKeys, Video2KeysActOnTheEntryTheLearnerSees) {
  VideoHarness h(VideoHarness::Mode::Video2);
  h.fake.log.AttachMemory();
  h.View().SetMainLog(&h.fake.log);
  const std::vector<uint8_t> mp3 = ShortMp3();
  // Five reversed entries of one recording each, in key order а, б, в, г, д.
  ASSERT_TRUE(h.Open({{u"m", u"s", u"a", {u"а"}, mp3},
                      {u"m", u"s", u"b", {u"б"}, mp3},
                      {u"m", u"s", u"c", {u"в"}, mp3},
                      {u"m", u"s", u"d", {u"г"}, mp3},
                      {u"m", u"s", u"e", {u"д"}, mp3}}));
  const auto status = [&h] {
    const std::string log = h.fake.log.Text();
    const std::string mark = "Текущая позиция : ";
    const size_t at = log.rfind(mark);
    return at == std::string::npos ? std::string() : log.substr(at + mark.size(), 5);
  };
  using Words = std::vector<std::u16string>;
  EXPECT_EQ(h.Position(), 0);
  EXPECT_EQ(status(), "1 / 5") << "the status line shows the entry that sounds";

  h.Key(vk::kTab);  // while the first plays
  EXPECT_EQ(h.Position(), 1);
  EXPECT_EQ(status(), "2 / 5");
  h.Key(vk::kUp);
  EXPECT_EQ(h.Position(), 0);
  h.Key(vk::kHome);
  h.Key(vk::kUp);
  EXPECT_EQ(h.Position(), 0);
  h.Key(vk::kReturn);
  h.View().ToggleHeader();        // F3
  h.View().ToggleTranslations();  // Alt+F3
  EXPECT_EQ(h.Position(), 0) << "repaints show the same entry";
  EXPECT_EQ(h.Sounded(), (Words{u"а", u"б", u"а", u"а", u"а", u"а", u"а", u"а"}));

  h.RunUntilHalt();  // every entry is shown and sounded in turn
  EXPECT_EQ(h.Sounded(),
            (Words{u"а", u"б", u"а", u"а", u"а", u"а", u"а", u"а", u"б", u"в", u"г", u"д"}));
  EXPECT_EQ(h.Messages(), std::vector<QString>{kEndOfFilterMessage});
}

TEST(VideoModes, SetTheirFlagsNamesAndLoadTheLessonInTheirOrientation) {
  FakePlatform fake;
  CVideo1View video1(fake.Get());
  CVideo2View video2(fake.Get());
  video1.Create();
  video2.Create();
  EXPECT_EQ(video1.GetModeName(), u"Модуль \"Видео-1\"");
  EXPECT_EQ(video2.GetModeName(), u"Модуль \"Видео-2\"");
  for (CVideo1View* view : std::initializer_list<CVideo1View*>{&video1, &video2}) {
    EXPECT_EQ(view->m_bIsSound, 1);
    EXPECT_EQ(view->m_bVideoMode, 1);
    EXPECT_EQ(view->m_bConspectMode, 0);
    EXPECT_EQ(view->m_bExamMode, 0);
  }
  EXPECT_EQ(video1.m_bContraVersa, 0);
  EXPECT_EQ(video2.m_bContraVersa, 1);

  VideoHarness h1, h2(VideoHarness::Mode::Video2);
  const std::vector<uint8_t> mp3 = ShortMp3();
  const std::vector<LessonRow> rows = {{u"m", u"s", u"chat", {u"кошка", u"кот"}, mp3}};
  ASSERT_TRUE(h1.Open(rows));
  ASSERT_TRUE(h2.Open(rows));
  EXPECT_EQ(h1.View().m_vWordsData.size(), 1u);
  EXPECT_EQ(h1.View().m_wsKeyWord, u"chat");
  ASSERT_EQ(h2.View().m_vWordsData.size(), 2u);
  EXPECT_EQ(h2.View().m_vWordsData[0].wsKeyWord, u"кот");
  EXPECT_EQ(h2.View().m_wsKeyWord, u"кот");
}

}  // namespace
}  // namespace verbaro::test
