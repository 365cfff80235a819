// A Conspect entry typed through counts as typed from memory only when its word block stayed
// hidden from the entry's showing to the last character and its translations were in sight;
// everything else, a peek included, is practice.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/ViewsTestSupport.h"
#include "tests/support/KeysOfText.h"
#include "views/Conspect1View.h"
#include "views/Conspect2View.h"
#include "views/StudyEvents.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using test::LessonRow;
using test::ViewHarness;

// What the views tell of typing; the other events are of no interest here.
class TypedEntries : public StudyEvents {
 public:
  void LessonRead(int, const CWordsView&) override {}
  void EntryShown(int, const CWordsView&) override {}
  void EntryTyped(int modeIndex, const CWordsView& view,
                  const progress::TypingResult& result) override {
    typed.push_back({modeIndex, view.m_wsKeyWord, result});
  }
  void ExamAnswered(int, const AskedEntry&, progress::ExamAnswer) override {}
  void ExamFinished(int, const progress::ExamResult&) override {}
  ReviewLists Review(int, const CWordsView&) override { return {}; }

  struct Typed {
    int mode;
    std::u16string word;
    progress::TypingResult result;
  };
  std::vector<Typed> typed;
};

const std::vector<LessonRow> kRows = {
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
    ViewHarness h{ViewHarness::Make<View>};
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
    ASSERT_EQ(events.typed.size(), 1u);
    EXPECT_EQ(events.typed[0].mode, mode);
    EXPECT_EQ(events.typed[0].word, h.View().m_wsKeyWord);
    EXPECT_EQ(events.typed[0].result.fromMemory, c.fromMemory);
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
