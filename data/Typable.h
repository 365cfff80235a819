#pragma once
// What a learner can type in the Conspect modes with the program's own key translation: the
// French word in Conspect-1 (US letters, Ctrl-prefixed accents), the translation in Conspect-2
// (the Russian layout). The lesson tool refuses or reports texts that no key sequence gives.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace verbaro {

enum class TypingTable {
  Latin,     // Conspect-1: the foreign word
  Cyrillic,  // Conspect-2: the translation
};

// True when some key, with or without Shift, CapsLock or an accent armed before it, gives c.
bool IsTypable(char16_t c, TypingTable table);

// The position of the first character of the text that cannot be typed, if any.
std::optional<size_t> FindUntypable(std::u16string_view text, TypingTable table);

// The text with the characters an office suite puts in for typable ones replaced by them: the
// typographic apostrophes ’ ‘ ʼ by ', no-break spaces by spaces.
std::u16string WithTypableApostrophesAndSpaces(std::u16string_view text);

}  // namespace verbaro
