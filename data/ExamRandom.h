#pragma once
// The random draws of the exam questions: a linear congruential generator (multiplier 214013,
// increment 2531011, results 0..32767 from bits 16 to 30 of the state), reseeded with the
// current second before every draw. All draws made within one second therefore give the same
// value, so a question rebuilt in the same second is the same question.
#include <cstdint>

namespace verbaro {

class Clock;

class ExamRandom {
 public:
  static constexpr int kMax = 0x7FFF;

  explicit ExamRandom(uint32_t seed) : m_state(seed) {}
  // The next number of the sequence, 0..kMax.
  int Next() {
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFF);
  }

 private:
  uint32_t m_state;
};

// The seed of a draw: the clock's seconds since 1970, truncated to 32 bits.
uint32_t ExamSeed(const Clock& clock);
// One draw: seed with the current second, take the first number, reduce it modulo n (n > 0).
int DrawModulo(const Clock& clock, int n);

}  // namespace verbaro
