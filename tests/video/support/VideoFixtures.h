#pragma once
// The recordings of tests/video/fixtures: tones of different pitch that tell entries apart when
// heard.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/Files.h"

namespace verbaro::test {

inline std::vector<uint8_t> VideoMp3(const std::string& name) {
  return ReadFileBytes(std::string(VERBARO_SOURCE_DIR) + "/tests/video/fixtures/" + name);
}

}  // namespace verbaro::test
