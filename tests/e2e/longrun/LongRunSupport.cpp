#include "LongRunSupport.h"

#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <fstream>

#include "lessonwriter/LessonWriter.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VERBARO_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VERBARO_UNDER_ASAN 1
#endif

#ifdef VERBARO_UNDER_ASAN
// From the sanitizer runtime (declared here: gcc does not ship its header).
extern "C" size_t __sanitizer_get_current_allocated_bytes();

// A small quarantine: freed memory is recycled soon, so the resident size shows the program's
// own growth rather than the sanitizer's store of freed blocks. Options given in ASAN_OPTIONS
// still come on top of these. The thread-local blocks of Qt's plugins stay unscanned, as in every
// test program (tests/support/SanitizerDefaults.cpp).
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=8:intercept_tls_get_addr=0";
}
#endif

namespace verbaro::longrun {

namespace {

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { application.reset(); }
  std::unique_ptr<QApplication> application;
};

ApplicationEnvironment* const environment = static_cast<ApplicationEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));

const std::vector<uint8_t>& ShortRecording() {
  static const std::vector<uint8_t> bytes = [] {
    QFile file(QStringLiteral(VERBARO_TEST_FIXTURES "/mp3/tone_short_44k_stereo.mp3"));
    if (!file.open(QIODevice::ReadOnly)) return std::vector<uint8_t>();
    const QByteArray data = file.readAll();
    return std::vector<uint8_t>(data.begin(), data.end());
  }();
  return bytes;
}

}  // namespace

void EnsureApplication() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "longrun_tests";
  static char* argv[] = {name, nullptr};
  environment->application = std::make_unique<QApplication>(argc, argv);
}

void WriteLesson(const QString& path, const std::vector<LessonRow>& rows) {
  const std::vector<uint8_t>& recording = ShortRecording();
  ASSERT_FALSE(recording.empty()) << "missing fixture tone_short_44k_stereo.mp3";
  QFile::remove(path);
  lesson::LessonWriter writer(path.toStdString());
  std::string error;
  ASSERT_TRUE(writer.OpenInPlace(error)) << error;
  for (const LessonRow& row : rows) {
    lesson::LessonRow written;
    written.texts = {std::u16string(u"topic"), row.gram,         row.number,      row.key,
                     std::u16string(),         std::u16string(), std::u16string()};
    for (size_t t = 0; t < row.translations.size() && t < 5; ++t) {
      written.Text(8 + static_cast<int>(t)) = row.translations[t];
    }
    written.recording = recording;
    ASSERT_TRUE(writer.AddRow(written, error)) << error;
  }
  ASSERT_TRUE(writer.Commit(true, error)) << error;
}

LongRunHarness::LongRunHarness() {
  EnsureApplication();
  CWordsView::SharedRepeatCounter() = 0;
  // A small screen: the long runs are about the program's bookkeeping, not about filling pixels.
  fake.workArea.rect = QRect(0, 0, 480, 320);
  // The player's wave output: one that keeps nothing, so that what it played does not pile up.
  fake.platform.makeWaveOut = [this] {
    auto out = std::make_unique<CountingWaveOut>();
    m_waveOut = out.get();
    return std::unique_ptr<verbaro::WaveOut>(std::move(out));
  };
}

void LongRunHarness::Attach(std::unique_ptr<CWordsView> view) {
  m_view = std::move(view);
  m_view->SetFilterMenu(&m_filterMenu);
  m_view->resize(400, 240);
  m_view->Create();
}

LongRunHarness::~LongRunHarness() {
  m_view.reset();
  CWordsView::SharedRepeatCounter() = 0;
}

bool LongRunHarness::Open(const QString& path) {
  fake.files.answers.push_back(path);
  return m_view->OpenLesson();
}

int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

int64_t HeapBytesInUse() {
#ifdef VERBARO_UNDER_ASAN
  return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes());
#else
  return static_cast<int64_t>(mallinfo2().uordblks);
#endif
}

}  // namespace verbaro::longrun
