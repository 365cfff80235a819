#include "data/ExamRandom.h"

#include "data/Clock.h"

namespace verbaro {

uint32_t ExamSeed(const Clock& clock) { return static_cast<uint32_t>(clock.NowSeconds()); }

int DrawModulo(const Clock& clock, int n) {
  ExamRandom generator(ExamSeed(clock));
  return generator.Next() % n;
}

}  // namespace verbaro
