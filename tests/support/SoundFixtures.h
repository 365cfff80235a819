#pragma once
// Measuring 16-bit stereo PCM: where it is audible and its pitch.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace verbaro::test {

inline std::vector<int16_t> Samples(const uint8_t* pcm, size_t bytes) {
  std::vector<int16_t> samples(bytes / 2);
  std::memcpy(samples.data(), pcm, samples.size() * 2);
  return samples;
}

inline std::vector<int16_t> Samples(const std::vector<uint8_t>& pcm) {
  return Samples(pcm.data(), pcm.size());
}

// First and one-past-last stereo frame whose left or right sample exceeds the threshold;
// {0, 0} for silence.
struct Span {
  size_t first = 0;
  size_t end = 0;
  size_t Frames() const { return end - first; }
  double Seconds() const { return static_cast<double>(Frames()) / 44100.0; }
};

inline Span AudibleSpan(const std::vector<int16_t>& stereo, int threshold) {
  Span span;
  bool found = false;
  for (size_t frame = 0; frame + 1 < stereo.size(); frame += 2) {
    if (std::abs(stereo[frame]) > threshold || std::abs(stereo[frame + 1]) > threshold) {
      if (!found) span.first = frame / 2;
      found = true;
      span.end = frame / 2 + 1;
    }
  }
  return span;
}

// The longest run of frames within the span where both channels stay at or below the threshold.
inline size_t LongestQuietRun(const std::vector<int16_t>& stereo, Span span, int threshold) {
  size_t run = 0, longest = 0;
  for (size_t frame = span.first; frame < span.end && frame * 2 + 1 < stereo.size(); ++frame) {
    const bool quiet =
        std::abs(stereo[frame * 2]) <= threshold && std::abs(stereo[frame * 2 + 1]) <= threshold;
    run = quiet ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

// Sign changes of one channel per second of sound: twice the frequency of a pure tone. Samples
// near zero are passed over so that the quiet fades do not add spurious changes.
inline double ZeroCrossingsPerSecond(const std::vector<int16_t>& stereo, int channel) {
  size_t crossings = 0;
  int lastSign = 0;
  const size_t frames = stereo.size() / 2;
  for (size_t frame = 0; frame < frames; ++frame) {
    const int sample = stereo[frame * 2 + channel];
    if (std::abs(sample) < 64) continue;
    const int sign = sample < 0 ? -1 : 1;
    if (lastSign && sign != lastSign) ++crossings;
    lastSign = sign;
  }
  return frames ? crossings * 44100.0 / static_cast<double>(frames) : 0.0;
}

}  // namespace verbaro::test
