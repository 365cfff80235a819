#pragma once
// Days of study: the learner's local calendar day, numbered from 1970-01-01.
#include <cstdint>

namespace verbaro::progress {

// The local calendar day (by the time zone in force) of the second `seconds` since 1970 UTC.
int64_t LocalDay(int64_t seconds);

}  // namespace verbaro::progress
