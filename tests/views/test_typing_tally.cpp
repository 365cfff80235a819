// What an entry typed in a Conspect view counts as: the keystrokes that turned the line red, with
// the character wanted and the one typed, told once when the entry is typed through to its end,
// the time from the entry's showing, and whether it was typed from memory: only when its word
// block stayed hidden from the entry's showing to the last character and its translations were
// in sight; everything else, a peek included, is practice.
#include <gtest/gtest.h>

#include <QChar>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/ViewsTestSupport.h"
#include "tests/support/KeysOfText.h"
#include "views/Conspect1View.h"
#include "views/Conspect2View.h"
#include "views/StudyEvents.h"
#include "views/TypingTally.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using progress::MissedCharacter;
using progress::TypingResult;

// The entries typed through: the mode told, the head word and what the entry counts as.
class TypedEntries : public StudyEvents {
 public:
  void LessonRead(int, const CWordsView&) override {}
  void EntryShown(int, const CWordsView&) override {}
  void EntryTyped(int modeIndex, const CWordsView& view, const TypingResult& result) override {
    modes.push_back(modeIndex);
    words.push_back(view.m_wsKeyWord);
    results.push_back(result);
  }
  void ExamAnswered(int, const AskedEntry&, progress::ExamAnswer) override {}
  void ExamFinished(int, const progress::ExamResult&) override {}
  ReviewLists Review(int, const CWordsView&) override { return {}; }

  std::vector<int> modes;
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
  Type(u"chxy<<ien>");  // two wrong keys in a row: the second follows from the first
  Type(u"cx<z<hat>");   // a wrong key, corrected, and another wrong key in its place
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
  Type(u"n<n");    // typed through, then its last letter again
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

const std::vector<test::LessonRow> kRows = {
    {u"m", u"s", u"chat", {u"кот"}, test::ShortMp3()},
    {u"m", u"s", u"chien", {u"собака"}, test::ShortMp3()},
    {u"m", u"s", u"lapin", {u"кролик"}, test::ShortMp3()},
};

struct Case {
  const char* name;
  // Run on the view showing the lesson's first entry, word and translations in sight; ends
  // with the entry to type shown. `type` types part of the word or all that is left.
  std::function<void(CWordsView& view, const std::function<void(bool all)>& type)> steps;
  bool fromMemory;
};

const Case kCases[] = {
    {"typed with the word in sight", [](CWordsView&, const auto& type) { type(true); }, false},
    {"the word block hidden before the entry was shown",
     [](CWordsView& view, const auto& type) {
       view.ToggleHeader();
       view.OnKeyDown(vk::kDown);
       type(true);
     },
     true},
    {"the word block hidden only after the entry was shown",
     [](CWordsView& view, const auto& type) {
       view.ToggleHeader();
       type(true);
     },
     false},
    {"a peek in the middle of the word",
     [](CWordsView& view, const auto& type) {
       view.ToggleHeader();
       view.OnKeyDown(vk::kDown);
       type(false);
       view.ToggleHeader();
       view.ToggleHeader();
       type(true);
     },
     false},
    {"word block and translations hidden: nothing to recall from",
     [](CWordsView& view, const auto& type) {
       view.ToggleHeader();
       view.ToggleTranslations();
       view.OnKeyDown(vk::kDown);
       type(true);
     },
     false},
    {"the translations shown again while the word stays hidden",
     [](CWordsView& view, const auto& type) {
       view.ToggleHeader();
       view.ToggleTranslations();
       view.OnKeyDown(vk::kDown);
       type(false);
       view.ToggleTranslations();
       type(true);
     },
     true},
};

template <typename View>
void CheckEveryCase(int mode) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    test::ViewHarness h{test::ViewHarness::Make<View>};
    TypedEntries events;
    h.View().SetStudyEvents(&events, mode);
    ASSERT_TRUE(h.Open(kRows));
    size_t typedSoFar = 0;
    const auto type = [&](bool all) {
      const std::vector<int> keys = test::KeysOfText(h.View().m_wsKeyWord);
      const size_t until = all ? keys.size() : typedSoFar + 2;
      for (; typedSoFar < until; ++typedSoFar) h.Key(keys[typedSoFar]);
    };
    c.steps(h.View(), type);
    ASSERT_EQ(h.Typed(), h.View().m_wsKeyWord);
    ASSERT_EQ(events.results.size(), 1u);
    EXPECT_EQ(events.modes[0], mode);
    EXPECT_EQ(events.words[0], h.View().m_wsKeyWord);
    EXPECT_EQ(events.results[0].fromMemory, c.fromMemory);
  }
}

TEST(TypingRecall, ConspectOneCountsOnlyTheWordTypedWhileItStayedHidden) {
  CheckEveryCase<CConspect1View>(0);
}

TEST(TypingRecall, ConspectTwoCountsOnlyTheTranslationTypedWhileItStayedHidden) {
  CheckEveryCase<CConspect2View>(1);
}

}  // namespace
}  // namespace verbaro
