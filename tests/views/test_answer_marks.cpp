// The marks of the typing line: the first wrong character boxed in red, and a green tick once
// the whole word is typed, gone when the learner moves on or types past the word.
#include <gtest/gtest.h>

#include "data/TypingCheck.h"
#include "support/ViewsTestSupport.h"
#include "views/AnswerMarks.h"
#include "views/Conspect1View.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using test::LessonRow;
using test::ViewHarness;

const QRect kTypingRow(50, 250, 900, 50);

LessonRow Entry(std::u16string key) {
  return {u"adj", u"", std::move(key), {u"перевод"}, test::ShortMp3()};
}

TEST(TypingCheck, FirstWrongUnitIsWhereTheTypedTextLeavesTheWord) {
  constexpr size_t none = std::u16string_view::npos;
  struct Case {
    std::u16string_view expected, typed;
    size_t wrong;
  } cases[] = {
      {u"été", u"", none}, {u"été", u"ét", none}, {u"été", u"été", none},
      {u"été", u"e", 0},   {u"été", u"étè", 2},   {u"été", u"étée", 3},
      {u"", u"a", 0},      {u"abc", u"abd", 2},   {u"a b", u"a  ", 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FirstWrongUnit(c.expected, c.typed), c.wrong)
        << std::string(c.typed.begin(), c.typed.end()).size();
  }
  EXPECT_TRUE(IsTypedThrough(u"chat", u"chat"));
  EXPECT_FALSE(IsTypedThrough(u"chat", u"cha"));
  EXPECT_FALSE(IsTypedThrough(u"", u"")) << "an entry without a word is never typed through";
}

class TypingMarks : public ::testing::Test {
 protected:
  ViewHarness h{ViewHarness::Make<CConspect1View>};
  QRect Green() const { return test::InkBox(h.Frame(), marks::kRightMark, kTypingRow, 40); }
  // The red pixels of the topmost red row in the typing line: the top edge of the box, which
  // stands above the letters.
  QRect BoxTop() const {
    const QImage frame = h.Frame();
    const QRect red = test::InkBox(frame, marks::kWrongMark, kTypingRow, 40);
    if (red.isEmpty()) return {};
    return test::InkBox(frame, marks::kWrongMark, QRect(red.left(), red.top(), red.width(), 1), 40);
  }
  QRect RedInk() const { return test::InkBox(h.Frame(), marks::kWrongMark, kTypingRow, 40); }
};

TEST_F(TypingMarks, TheBoxStandsOnTheFirstWrongCharacter) {
  ASSERT_TRUE(h.Open({Entry(u"aaaa")}));
  h.Keys({'B', 'A', 'A', 'A'});
  const QRect atStart = BoxTop();
  const QRect ink = RedInk();
  ASSERT_FALSE(atStart.isEmpty());
  EXPECT_LT(atStart.center().x(), ink.center().x()) << "the first of five units is boxed";

  h.Keys({vk::kBack, vk::kBack, vk::kBack, vk::kBack, 'A', 'A', 'A', 'B'});
  const QRect atEnd = BoxTop();
  ASSERT_FALSE(atEnd.isEmpty());
  EXPECT_GT(atEnd.center().x(), ink.center().x()) << "the fourth of five units is boxed";
  EXPECT_LT(atEnd.width(), ink.width() / 3) << "one character, not the line";

  h.Key(vk::kBack);
  EXPECT_TRUE(RedInk().isEmpty()) << "a right prefix shows no mark";
}

TEST_F(TypingMarks, AnUncombinedKeyInsideRightLettersIsBoxed) {
  ASSERT_TRUE(h.Open({Entry(u"aaaa")}));
  h.Keys({vk::kControl, vk::kOem7, 'B', 'A', 'A', 'A'});
  EXPECT_FALSE(h.View().m_typedMatches);
  const QRect box = BoxTop();
  ASSERT_FALSE(box.isEmpty());
  EXPECT_LT(box.center().x(), RedInk().center().x());
}

TEST_F(TypingMarks, TheTickShowsOnlyWhileTheWholeWordIsTyped) {
  ASSERT_TRUE(h.Open({Entry(u"été"), Entry(u"et")}));
  h.Keys({vk::kControl, vk::kOem7, 'E', 'T'});
  EXPECT_TRUE(Green().isEmpty()) << "a half-typed word has no tick";
  h.Keys({vk::kControl, vk::kOem7, 'E'});
  const QRect tick = Green();
  ASSERT_FALSE(tick.isEmpty());
  EXPECT_GT(tick.left(), kTypingRow.center().x()) << "at the right end of the line";

  h.Key('E');
  EXPECT_TRUE(Green().isEmpty()) << "typed past the word";
  h.Key(vk::kBack);
  EXPECT_FALSE(Green().isEmpty());
  h.Key(vk::kTab);
  EXPECT_TRUE(Green().isEmpty()) << "the next entry starts without the tick";
}

}  // namespace
}  // namespace verbaro
