#pragma once
// SHA-1 (FIPS 180-4) of a byte string: Anki keys a note's first field by it.
#include <array>
#include <cstdint>
#include <string_view>

namespace verbaro::lessonimport {

std::array<uint8_t, 20> Sha1(std::string_view bytes);

}  // namespace verbaro::lessonimport
