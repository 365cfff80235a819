#pragma once
// One Qt application object for the tests that need Qt's event loop, and a way to wait on it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace verbaro::test {

inline void EnsureQtApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "verbaro_sound_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

// Runs the event loop until done() holds or the time is up; returns done().
inline bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return done();
}

// Runs the event loop for the given time.
inline void Spin(int milliseconds) {
  WaitFor([] { return false; }, milliseconds);
}

}  // namespace verbaro::test
