#pragma once
// Where a recording of the sink monitor holds sound, and at which pitch.
#include <cstdint>
#include <vector>

namespace verbaro::test {

// One stretch of sound between silences, with its pitch from the zero crossings.
struct SoundBurst {
  double startSeconds = 0;
  double endSeconds = 0;
  double frequency = 0;
};

// The bursts of a mono recording: 10 ms windows louder than `threshold` (RMS), joined across
// gaps shorter than `joinSeconds`; bursts shorter than 50 ms are dropped as clicks.
std::vector<SoundBurst> FindBursts(const std::vector<int16_t>& samples, int rate,
                                   double threshold = 1000, double joinSeconds = 0.15);

}  // namespace verbaro::test
