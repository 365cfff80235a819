#include "SoundBursts.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace verbaro::test {

std::vector<SoundBurst> FindBursts(const std::vector<int16_t>& samples, int rate, double threshold,
                                   double joinSeconds) {
  const size_t window = static_cast<size_t>(rate / 100);
  // Loud windows as [first, last) sample ranges, joined across short gaps.
  std::vector<std::pair<size_t, size_t>> ranges;
  for (size_t start = 0; start + window <= samples.size(); start += window) {
    double sum = 0;
    for (size_t i = start; i < start + window; ++i) sum += double(samples[i]) * samples[i];
    if (std::sqrt(sum / double(window)) < threshold) continue;
    const auto join = static_cast<size_t>(joinSeconds * rate);
    if (!ranges.empty() && start <= ranges.back().second + join) {
      ranges.back().second = start + window;
    } else {
      ranges.push_back({start, start + window});
    }
  }
  std::vector<SoundBurst> bursts;
  for (const auto& [first, last] : ranges) {
    if (last - first < static_cast<size_t>(rate / 20)) continue;
    size_t crossings = 0;
    for (size_t i = first + 1; i < last; ++i) {
      if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
    }
    const double seconds = double(last - first) / rate;
    bursts.push_back({double(first) / rate, double(last) / rate, crossings / (2 * seconds)});
  }
  return bursts;
}

}  // namespace verbaro::test
