// The in-place vector of the records' lists: elements survive growing, moving and copying in
// either storage, and the edits the lesson code makes keep order. Texts are long enough to live
// on the heap, so a lost or doubly freed element shows under AddressSanitizer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/SmallVector.h"

namespace verbaro::test {
namespace {

using Texts = SmallVector<std::u16string, 2>;

std::u16string Long(int n) {
  return u"перевод номер " + std::u16string(static_cast<size_t>(n), u'я');
}

TEST(SmallVector, GrowsPastItsPlaceAndKeepsEveryElement) {
  Texts texts;
  std::vector<std::u16string> expected;
  for (int n = 0; n < 9; ++n) {
    texts.push_back(Long(n));
    expected.push_back(Long(n));
  }
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(texts.at(8), Long(8));
  EXPECT_THROW(static_cast<void>(texts.at(9)), std::out_of_range);
}

TEST(SmallVector, AnElementOfItselfCanBeAddedWhileItGrows) {
  Texts texts{Long(1), Long(2)};
  ASSERT_EQ(texts.size(), texts.capacity()) << "the next element must grow the storage";
  texts.push_back(texts[0]);
  texts.push_back(texts[1]);
  ASSERT_EQ(texts.size(), texts.capacity());
  texts.push_back(texts[3]);
  EXPECT_EQ(texts, (std::vector<std::u16string>{Long(1), Long(2), Long(1), Long(2), Long(2)}));
}

TEST(SmallVector, MovesAndCopiesInPlaceAndOnTheHeapAlike) {
  for (const int count : {1, 2, 5}) {
    Texts source;
    for (int n = 0; n < count; ++n) source.push_back(Long(n));
    const Texts copy = source;
    Texts moved = std::move(source);
    EXPECT_EQ(moved, copy) << count;
    EXPECT_TRUE(source.empty())
        << count;               // NOLINT(bugprone-use-after-move): a moved-from list is empty
    source.push_back(Long(7));  // and still usable
    EXPECT_EQ(source, (std::vector<std::u16string>{Long(7)}));

    Texts small{Long(9)};
    small = copy;  // in place -> as large as the copy
    EXPECT_EQ(small, copy);
    Texts large{Long(1), Long(2), Long(3), Long(4)};
    large = std::move(moved);
    EXPECT_EQ(large, copy);
  }
}

TEST(SmallVector, InsertsAndErasesKeepTheOrder) {
  SmallVector<int, 2> numbers{1, 4};
  const std::vector<int> middle{2, 3};
  numbers.insert(numbers.begin() + 1, middle.begin(), middle.end());
  numbers.insert(numbers.begin(), 0);
  numbers.insert(numbers.end(), 5);
  EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  numbers.erase(numbers.begin() + 2);
  numbers.erase(numbers.begin(), numbers.begin() + 2);
  EXPECT_EQ(numbers, (std::vector<int>{3, 4, 5}));
  numbers.erase(numbers.end() - 1);
  numbers.assign(3, 7);
  EXPECT_EQ(numbers, (std::vector<int>{7, 7, 7}));
  EXPECT_NE(numbers, (std::vector<int>{7, 7}));
}

}  // namespace
}  // namespace verbaro::test
