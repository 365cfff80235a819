#pragma once
// 16-bit PCM in memory: interleaved samples, their rate and channel count.
#include <cstdint>
#include <vector>

namespace verbaro::lesson {

struct Pcm {
  std::vector<int16_t> samples;  // interleaved when there are two channels
  long rate = 0;
  int channels = 0;

  size_t Frames() const {
    return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0;
  }
};

}  // namespace verbaro::lesson
