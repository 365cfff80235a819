// One QGuiApplication for the whole test program: picture decoders and painting need it.
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

class GuiApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "image_tests";
      static char* argv[] = {name, nullptr};
      m_app = new QGuiApplication(argc, argv);
    }
  }
  void TearDown() override {
    delete m_app;
    m_app = nullptr;
  }

 private:
  QGuiApplication* m_app = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiApplication);

}  // namespace
