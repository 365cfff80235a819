// Picture decoders and painting need the application: it is there before the first test.
#include "tests/support/Application.h"

namespace {

[[maybe_unused]] const bool kApplicationForEveryTest =
    verbaro::test::EnsureApplicationForEveryTest();

}  // namespace
