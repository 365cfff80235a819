#pragma once
// Invariants the fuzz targets check after every step. A broken one aborts, so that libFuzzer
// reports it like a crash and keeps the input.
#include <cstdio>
#include <cstdlib>

#include "views/Exam1View.h"

namespace verbaro::fuzz {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// The exam's counters never go below zero, and every answer learnt leaves the count of answers
// still to give: the two add up to the filter's answers as long as no filter was chosen since.
inline void CheckExamCounters(const CExam1View& view, int32_t filterAnswers) {
  Require(view.m_rightAnswers >= 0, "right answers >= 0");
  Require(view.m_wrongAnswers >= 0, "wrong answers >= 0");
  Require(view.m_hints >= 0, "hints >= 0");
  Require(view.m_nTotalCountAltWords >= 0, "answers left >= 0");
  if (filterAnswers >= 0) {
    Require(view.m_nTotalCountAltWords + view.m_rightAnswers == filterAnswers,
            "answers left + right answers == the filter's answers");
  }
}

}  // namespace verbaro::fuzz
