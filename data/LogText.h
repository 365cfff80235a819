#pragma once
// Pieces of the diagnostic listings: lists of answers and of recording sizes joined by "; ".
#include <cstdint>
#include <span>
#include <string>

namespace verbaro {

std::u16string JoinTexts(std::span<const std::u16string> texts);
std::u16string JoinSizes(std::span<const int32_t> sizes);

}  // namespace verbaro
