// The marks of keys that did not combine: what each shows, kept in step with a typed text that
// only grows and shrinks at its end.
#include <gtest/gtest.h>

#include "data/KeyTranslation.h"
#include "data/NoLetterMarks.h"

namespace verbaro {
namespace {

const std::u16string kMark(1, kNoLetterMark);

TEST(NoLetterMarks, BackspaceAndClearingDropTheTextsOfMarksGone) {
  NoLetterMarks marks;
  std::u16string typed = u"a";
  marks.Add(typed, u'\'', u'l');
  typed += kMark;
  marks.Add(typed, u'`', u'x');
  typed += kMark;
  EXPECT_EQ(marks.Shown(typed), u"a´l`x");

  // Two Backspaces take both marks; the next mark is the first again, with its own accent.
  typed.resize(1);
  typed += u"b";
  marks.Add(typed, u':', u'q');
  typed += kMark;
  EXPECT_EQ(marks.Shown(typed), u"ab¨q");

  // A cleared line (the next entry) starts without marks.
  marks.Clear();
  typed = u"c";
  EXPECT_EQ(marks.Shown(typed), u"c");
  marks.Add(typed, u'^', u'z');
  typed += kMark;
  EXPECT_EQ(marks.Shown(typed), u"c^z");
}

TEST(NoLetterMarks, PlacesAndTextsOfTypedUnitsInTheShownLine) {
  NoLetterMarks marks;
  std::u16string typed = u"é";
  marks.Add(typed, u',', u'k');
  typed += kMark;
  typed += u't';
  // "é¸kt": the mark takes two units from index 1 on, the t moves to index 3.
  EXPECT_EQ(marks.ShownIndex(typed, 0), 0u);
  EXPECT_EQ(marks.ShownIndex(typed, 1), 1u);
  EXPECT_EQ(marks.ShownLength(typed, 1), 2u);
  EXPECT_EQ(marks.ShownIndex(typed, 2), 3u);
  EXPECT_EQ(marks.ShownLength(typed, 2), 1u);
  // Past the end (the first unit typed too many): the end of the shown line.
  EXPECT_EQ(marks.ShownIndex(typed, 3), 4u);
  EXPECT_EQ(marks.TextAt(typed, 1), u"¸k");
  EXPECT_EQ(marks.TextAt(typed, 2), u"t");
  EXPECT_EQ(marks.TextAt(typed, 9), u"");
}

TEST(NoLetterMarks, AMarkNeverToldShowsAsAQuestionMarkNotAReplacementCharacter) {
  NoLetterMarks marks;
  const std::u16string typed = u"a" + kMark + u"b" + kMark;
  marks.Add(typed.substr(0, 3), u'\'', u'e');  // told of the second mark only
  EXPECT_EQ(marks.Shown(typed), u"a?b´e");
  EXPECT_EQ(marks.TextAt(typed, 1), u"?");
  EXPECT_EQ(marks.Shown(typed).find(kNoLetterMark), std::u16string::npos);
}

}  // namespace
}  // namespace verbaro
