#pragma once
// Where the typed text of a Conspect view leaves the word: the learner sees the first wrong
// character marked, and a mark when the whole word is typed.
#include <cstddef>
#include <string_view>

namespace verbaro {

// The index of the first typed UTF-16 unit that differs from the expected text, or of the first
// unit typed past its end; npos while the typed text is a prefix of the expected one.
size_t FirstWrongUnit(std::u16string_view expected, std::u16string_view typed);

// The whole word is typed: the typed text is the expected one, and that is not empty.
bool IsTypedThrough(std::u16string_view expected, std::u16string_view typed);

}  // namespace verbaro
