#include "data/progress/Fsrs.h"

#include <algorithm>
#include <cmath>

namespace verbaro::progress {

namespace {

constexpr double kDesiredRetention = 0.9;
constexpr double kMinStability = 0.001;
constexpr double kMaxStability = 36500;
constexpr int kMaxIntervalDays = 36500;

double G(Grade grade) { return static_cast<double>(static_cast<int>(grade)); }

}  // namespace

const std::array<double, Fsrs::kParameterCount>& Fsrs::DefaultParameters() {
  static const std::array<double, kParameterCount> w = {
      0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
      1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
  return w;
}

Fsrs::Fsrs()
    : m_w(DefaultParameters()),
      m_decay(-m_w[20]),
      // chosen so that recall is exactly 90 % after `stability` days
      m_factor(std::pow(0.9, 1.0 / m_decay) - 1.0) {}

double Fsrs::Retrievability(double elapsedDays, double stability) const {
  return std::pow(1.0 + m_factor * elapsedDays / stability, m_decay);
}

double Fsrs::InitialDifficulty(Grade grade) const {
  return m_w[4] - std::exp(m_w[5] * (G(grade) - 1.0)) + 1.0;
}

// The change towards 10 shrinks as difficulty nears it (linear damping), and every answer pulls
// difficulty a little towards that of a first Easy answer (mean reversion).
double Fsrs::NextDifficulty(double difficulty, Grade grade) const {
  const double delta = -m_w[6] * (G(grade) - 3.0);
  const double damped = difficulty + delta * (10.0 - difficulty) / 9.0;
  const double reverted = m_w[7] * InitialDifficulty(Grade::Easy) + (1.0 - m_w[7]) * damped;
  return std::clamp(reverted, 1.0, 10.0);
}

double Fsrs::RecallStability(const MemoryState& state, double recall, Grade grade) const {
  const double hardPenalty = grade == Grade::Hard ? m_w[15] : 1.0;
  const double easyBonus = grade == Grade::Easy ? m_w[16] : 1.0;
  const double increase = std::exp(m_w[8]) * (11.0 - state.difficulty) *
                          std::pow(state.stability, -m_w[9]) *
                          (std::exp(m_w[10] * (1.0 - recall)) - 1.0) * hardPenalty * easyBonus;
  return state.stability * (increase + 1.0);
}

// After a lapse stability starts again from a value that grows with the old one, never above
// the old one reduced as a same-day Again would reduce it.
double Fsrs::ForgetStability(const MemoryState& state, double recall) const {
  const double fresh = m_w[11] * std::pow(state.difficulty, -m_w[12]) *
                       (std::pow(state.stability + 1.0, m_w[13]) - 1.0) *
                       std::exp(m_w[14] * (1.0 - recall));
  const double ceiling = state.stability / std::exp(m_w[17] * m_w[18]);
  return std::min(fresh, ceiling);
}

// A second answer on the same day: stability moves by a factor that depends on the grade and
// shrinks for stable entries; a right answer (Hard or better) never lowers it.
double Fsrs::ShortTermStability(double stability, Grade grade) const {
  double increase = std::exp(m_w[17] * (G(grade) - 3.0 + m_w[18])) * std::pow(stability, -m_w[19]);
  if (grade != Grade::Again) increase = std::max(increase, 1.0);
  return stability * increase;
}

MemoryState Fsrs::Next(const std::optional<MemoryState>& before, int elapsedDays,
                       Grade grade) const {
  if (!before) {
    return {std::max(m_w[static_cast<int>(grade) - 1], kMinStability),
            std::clamp(InitialDifficulty(grade), 1.0, 10.0)};
  }
  double stability;
  if (elapsedDays <= 0) {
    stability = ShortTermStability(before->stability, grade);
  } else {
    const double recall = Retrievability(elapsedDays, before->stability);
    stability = grade == Grade::Again ? ForgetStability(*before, recall)
                                      : RecallStability(*before, recall, grade);
  }
  return {std::clamp(stability, kMinStability, kMaxStability),
          NextDifficulty(before->difficulty, grade)};
}

int Fsrs::IntervalOf(double stability) const {
  // At the desired retention the interval is the stability itself; the general form is kept so
  // that the retention stays one constant.
  const double days = stability / m_factor * (std::pow(kDesiredRetention, 1.0 / m_decay) - 1.0);
  return std::clamp(static_cast<int>(std::lround(days)), 1, kMaxIntervalDays);
}

int Fsrs::IntervalDays(const std::optional<MemoryState>& before, int elapsedDays,
                       Grade grade) const {
  const auto interval = [&](Grade g) { return IntervalOf(Next(before, elapsedDays, g).stability); };
  if (grade == Grade::Again) return interval(Grade::Again);
  const int good = interval(Grade::Good);
  const int hard = std::min(interval(Grade::Hard), good);
  if (grade == Grade::Hard) return hard;
  const int orderedGood = std::max(good, hard + 1);
  if (grade == Grade::Good) return orderedGood;
  return std::max(interval(Grade::Easy), orderedGood + 1);
}

}  // namespace verbaro::progress
