#include "Application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <memory>

namespace verbaro::test {

namespace {

// Holds the application from its making until the test run ends, so that it goes before the
// process's own exit handlers tear Qt's globals down.
class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (makeBeforeTheTests) EnsureApplication();
  }
  void TearDown() override { application.reset(); }

  bool makeBeforeTheTests = false;
  std::unique_ptr<QApplication> application;
};

// Registered on first use, which may come from another file's static initializer.
ApplicationEnvironment& Environment() {
  static ApplicationEnvironment* const environment = static_cast<ApplicationEnvironment*>(
      ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));
  return *environment;
}

}  // namespace

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "verbaro_tests";
  static char* argv[] = {name, nullptr};
  Environment().application = std::make_unique<QApplication>(argc, argv);
}

bool EnsureApplicationForEveryTest() {
  Environment().makeBeforeTheTests = true;
  return true;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return done();
}

void Spin(int milliseconds) {
  WaitFor([] { return false; }, milliseconds);
}

}  // namespace verbaro::test
