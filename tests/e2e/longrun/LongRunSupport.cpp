#include "LongRunSupport.h"

#include <gtest/gtest.h>
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <fstream>

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
// still come on top of these.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=8"; }
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

void BindText(sqlite3_stmt* statement, int index, const std::u16string& text) {
  sqlite3_bind_text16(statement, index, text.data(), static_cast<int>(text.size() * 2),
                      SQLITE_TRANSIENT);
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
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE FrRuDict(id INTEGER, topic TEXT, gram TEXT, num TEXT, "
                         "word TEXT, info1 TEXT, info2 TEXT, info3 TEXT, t1 TEXT, t2 TEXT, "
                         "t3 TEXT, t4 TEXT, t5 TEXT, Mp3Word BLOB); BEGIN;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_stmt* insert = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db,
                               "INSERT INTO FrRuDict VALUES(?1, 'topic', ?2, ?3, ?4, '', '', '', "
                               "?5, ?6, ?7, ?8, ?9, ?10);",
                               -1, &insert, nullptr),
            SQLITE_OK);
  int id = 1;
  for (const LessonRow& row : rows) {
    sqlite3_reset(insert);
    sqlite3_clear_bindings(insert);
    sqlite3_bind_int(insert, 1, id++);
    BindText(insert, 2, row.gram);
    BindText(insert, 3, row.number);
    BindText(insert, 4, row.key);
    for (size_t t = 0; t < row.translations.size() && t < 5; ++t) {
      BindText(insert, 5 + static_cast<int>(t), row.translations[t]);
    }
    sqlite3_bind_blob(insert, 10, recording.data(), static_cast<int>(recording.size()),
                      SQLITE_STATIC);
    ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
  }
  sqlite3_finalize(insert);
  ASSERT_EQ(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

LongRunHarness::LongRunHarness() {
  EnsureApplication();
  CWordsView::SharedRepeatCounter() = 0;
  // A small screen: the long runs are about the program's bookkeeping, not about filling pixels.
  fake.workArea.rect = QRect(0, 0, 480, 320);
  // The player's wave output: one that keeps nothing, so that what it played does not pile up.
  fake.platform.makeWaveOut = [this] {
    auto out = std::make_unique<CountingWaveOut>();
    m_pWaveOut = out.get();
    return std::unique_ptr<verbaro::WaveOut>(std::move(out));
  };
}

void LongRunHarness::Attach(std::unique_ptr<CWordsView> view) {
  m_pView = std::move(view);
  m_pView->SetFilterMenu(&m_filterMenu);
  m_pView->resize(400, 240);
  m_pView->Create();
}

LongRunHarness::~LongRunHarness() {
  m_pView.reset();
  CWordsView::SharedRepeatCounter() = 0;
}

bool LongRunHarness::Open(const QString& path) {
  fake.files.answers.push_back(path);
  return m_pView->OpenLesson();
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
