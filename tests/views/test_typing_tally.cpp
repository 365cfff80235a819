// What an entry typed in a Conspect view counts as: the keystrokes that turned the line red, with
// the character wanted and the one typed, told once when the entry is typed through to its end,
// and the time from the entry's showing.
#include <gtest/gtest.h>

#include <QChar>
#include <chrono>
#include <thread>

#include "support/ViewsTestSupport.h"
#include "views/Conspect1View.h"
#include "views/StudyEvents.h"
#include "views/TypingTally.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using progress::MissedCharacter;
using progress::TypingResult;

// The entries typed through, by their head word.
class TypedEntries : public StudyEvents {
 public:
  void LessonRead(int, const CWordsView&) override {}
  void EntryShown(int, const CWordsView&) override {}
  void EntryTyped(int, const CWordsView& view, const TypingResult& result) override {
    words.push_back(view.m_wsKeyWord);
    results.push_back(result);
  }
  void ExamAnswered(int, const AskedEntry&, progress::ExamAnswer) override {}
  void ExamFinished(int, const progress::ExamResult&) override {}
  ReviewLists Review(int, const CWordsView&) override { return {}; }

  std::vector<std::u16string> words;
  std::vector<TypingResult> results;
};

class TypingTallyInConspect : public ::testing::Test {
 protected:
  void SetUp() override {
    h.View().SetStudyEvents(&typed, 0);
    const auto row = [](std::u16string key) {
      return test::LessonRow{u"m", u"s", std::move(key), {u"зверь"}, test::ShortMp3()};
    };
    ASSERT_TRUE(h.Open({row(u"chien"), row(u"chat"), row(u"lapin")}));
  }
  // Letters as their keys; '<' is Backspace, '>' Down (the next entry).
  void Type(std::u16string_view keys) {
    for (const char16_t c : keys) {
      h.Key(c == u'<' ? vk::kBack : c == u'>' ? vk::kDown : QChar(c).toUpper().unicode());
    }
  }

  test::ViewHarness h{test::ViewHarness::Make<CConspect1View>};
  TypedEntries typed;
};

TEST_F(TypingTallyInConspect, OnlyAKeyThatTurnsARightLineRedIsAWrongKeystroke) {
  Type(u"chxy<<ien>");     // two wrong keys in a row: the second follows from the first
  Type(u"cx<z<hat>");      // a wrong key, corrected, and another wrong key in its place
  Type(u"lapin");
  ASSERT_EQ(typed.words, (std::vector<std::u16string>{u"chien", u"chat", u"lapin"}));
  EXPECT_EQ(typed.results[0].wrongKeystrokes, 1);
  EXPECT_EQ(typed.results[0].misses, (std::vector<MissedCharacter>{{u"i", u"x"}}));
  EXPECT_EQ(typed.results[0].characters, 5);
  EXPECT_EQ(typed.results[1].wrongKeystrokes, 2);
  EXPECT_EQ(typed.results[1].misses, (std::vector<MissedCharacter>{{u"h", u"x"}, {u"h", u"z"}}));
  EXPECT_EQ(typed.results[2].wrongKeystrokes, 0) << "each entry starts a new tally";
  EXPECT_TRUE(typed.results[2].misses.empty());
}

TEST_F(TypingTallyInConspect, AnEntryIsToldOnceWhenTypedThroughToItsEnd) {
  Type(u"chie");
  EXPECT_TRUE(typed.words.empty());
  Type(u"n<n");  // typed through, then its last letter again
  Type(u">cha>");  // left half typed
  Type(u"lapinx<");
  EXPECT_EQ(typed.words, (std::vector<std::u16string>{u"chien", u"lapin"}));
}

TEST(TypingTally, TheTimeRunsFromTheEntrysShowing) {
  const NoLetterMarks marks;
  TypingTally tally(marks);
  tally.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_FALSE(tally.Key(u"si", u"s", true, true));
  const std::optional<TypingResult> result = tally.Key(u"si", u"si", true, true);
  ASSERT_TRUE(result);
  EXPECT_GE(result->milliseconds, 60);
  EXPECT_EQ(result->characters, 2);
}

}  // namespace
}  // namespace verbaro
