#pragma once
// The FSRS-6 memory model with its published default parameters, scheduling by whole days at a
// desired retention of 0.9. Every review gives a due day; there are no learning steps within a
// day, and a second review on the same day changes stability by the short-term formula.
#include <array>
#include <optional>

#include "data/progress/ProgressTypes.h"

namespace verbaro::progress {

struct MemoryState {
  double stability = 0;   // days until recall falls to 90 %
  double difficulty = 0;  // 1 (easy) to 10 (hard)
  bool operator==(const MemoryState&) const = default;
};

class Fsrs {
 public:
  static constexpr int kParameterCount = 21;
  static const std::array<double, kParameterCount>& DefaultParameters();

  Fsrs();

  // The probability of recall `elapsedDays` after a review that left `stability`.
  double Retrievability(double elapsedDays, double stability) const;
  // The state after answering with `grade`, `elapsedDays` whole days after the last review;
  // nullopt before for an entry never answered.
  MemoryState Next(const std::optional<MemoryState>& before, int elapsedDays, Grade grade) const;
  // The days until the next review after that answer: the interval of the state it gives, kept in
  // the order Hard <= Good < Easy (Good a day after Hard, Easy a day after Good at least), from 1
  // to 36 500 days (the order may pass that by a day or two). Again is not ordered.
  int IntervalDays(const std::optional<MemoryState>& before, int elapsedDays, Grade grade) const;

 private:
  double InitialDifficulty(Grade grade) const;
  double NextDifficulty(double difficulty, Grade grade) const;
  double RecallStability(const MemoryState& state, double recall, Grade grade) const;
  double ForgetStability(const MemoryState& state, double recall) const;
  double ShortTermStability(double stability, Grade grade) const;
  int IntervalOf(double stability) const;

  std::array<double, kParameterCount> m_w;
  double m_decay;
  double m_factor;
};

}  // namespace verbaro::progress
