#pragma once
// The one QApplication of a test program, and waiting on its event loop.
#include <functional>

namespace verbaro::test {

// Makes the application on the first call, on the offscreen platform unless QT_QPA_PLATFORM
// names another; later calls, or an application made elsewhere, leave it as it is. It stays
// until the last test has run.
void EnsureApplication();

// For test programs whose every test needs the application: makes it before the first test.
// Call it from a static initializer; returns true.
bool EnsureApplicationForEveryTest();

// Runs the event loop until done() holds or the time is up; returns done().
bool WaitFor(const std::function<bool()>& done, int milliseconds);
// Runs the event loop for the given time.
void Spin(int milliseconds);

}  // namespace verbaro::test
