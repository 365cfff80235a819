#pragma once
// Pieces of the diagnostic listings: lists of answers and of recording sizes joined by "; ".
#include <cstdint>
#include <string>
#include <vector>

namespace verbaro {

std::u16string JoinTexts(const std::vector<std::u16string>& texts);
std::u16string JoinSizes(const std::vector<int32_t>& sizes);

}  // namespace verbaro
