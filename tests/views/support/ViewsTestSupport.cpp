#include "ViewsTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <algorithm>
#include <cstdlib>

#include "platform/DiagnosticLog.h"

namespace verbaro::test {

namespace {

// The application lives from the first test that needs it until the test run ends, and goes
// before the process's own exit handlers tear Qt's globals down.
class ApplicationEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { application.reset(); }
  std::unique_ptr<QApplication> application;
};

ApplicationEnvironment* const environment = static_cast<ApplicationEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));

}  // namespace

void EnsureApplication() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "views_tests";
  static char* argv[] = {name, nullptr};
  environment->application = std::make_unique<QApplication>(argc, argv);
}

std::vector<uint8_t> Mp3Fixture(const std::string& name) {
  QFile file(QString::fromStdString(std::string(VERBARO_TEST_FIXTURES) + "/mp3/" + name));
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "missing fixture " << name;
    return {};
  }
  const QByteArray bytes = file.readAll();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

const std::vector<uint8_t>& ShortMp3() {
  static const std::vector<uint8_t> mp3 = Mp3Fixture("tone_short_44k_stereo.mp3");
  return mp3;
}

std::vector<LessonRow> NumberedRows(int count) {
  std::vector<LessonRow> rows;
  for (int i = 1; i <= count; ++i) {
    const std::u16string n = ToU16(i);
    rows.push_back({u"m", u"s", u"mot" + n, {u"слово" + n}, {}, {}, {}, ShortMp3()});
  }
  return rows;
}

namespace {

void Check(int result, sqlite3* db, const char* what) {
  if (result != SQLITE_OK && result != SQLITE_DONE) {
    ADD_FAILURE() << what << ": " << (db ? sqlite3_errmsg(db) : "no database");
  }
}

void BindText(sqlite3_stmt* statement, int index, const std::u16string& text) {
  sqlite3_bind_text16(statement, index, text.data(), static_cast<int>(text.size() * 2),
                      SQLITE_TRANSIENT);
}

}  // namespace

void WriteLesson(const QString& path, const std::vector<LessonRow>& rows) {
  QFile::remove(path);
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.toUtf8().constData(), &db), db, "open");
  Check(sqlite3_exec(db,
                     "CREATE TABLE FrRuDict(id INTEGER, topic TEXT, gram TEXT, num TEXT, "
                     "word TEXT, info1 TEXT, info2 TEXT, info3 TEXT, t1 TEXT, t2 TEXT, t3 TEXT, "
                     "t4 TEXT, t5 TEXT, Mp3Word BLOB);",
                     nullptr, nullptr, nullptr),
        db, "create");
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db,
                           "INSERT INTO FrRuDict(rowid, id, topic, gram, num, word, info1, info2, "
                           "info3, t1, t2, t3, t4, t5, Mp3Word) "
                           "VALUES(?1, ?1, '', ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13);",
                           -1, &insert, nullptr),
        db, "prepare");
  int rowid = 1;
  for (const LessonRow& row : rows) {
    sqlite3_reset(insert);
    sqlite3_bind_int(insert, 1, rowid++);
    BindText(insert, 2, row.gram);
    BindText(insert, 3, row.number);
    BindText(insert, 4, row.key);
    BindText(insert, 5, row.info1);
    BindText(insert, 6, row.info2);
    BindText(insert, 7, row.info3);
    for (int t = 0; t < 5; ++t) {
      BindText(insert, 8 + t, t < static_cast<int>(row.translations.size())
                                  ? row.translations[t]
                                  : std::u16string());
    }
    sqlite3_bind_blob(insert, 13, row.mp3.data(), static_cast<int>(row.mp3.size()),
                      SQLITE_TRANSIENT);
    Check(sqlite3_step(insert), db, "insert");
  }
  sqlite3_finalize(insert);
  sqlite3_close(db);
}

ViewHarness::ViewHarness(std::unique_ptr<CWordsView> (*make)(const Platform&)) {
  EnsureApplication();
  fake.log.AttachMemory();
  CWordsView::SharedRepeatCounter() = 0;
  m_pMenuBar = std::make_unique<QMenuBar>();
  for (const char* title : {"&0-Файл", "&1-Действия", "&2-Вид", "&3-Модули"}) {
    m_pMenuBar->addMenu(QString::fromUtf8(title));
  }
  m_pFilters = m_pMenuBar->addMenu(QStringLiteral("&4-Фильтры"));
  m_pFilters->addAction(QStringLiteral("&0-Все слова и фразы"))->setData(800);
  m_pMenuBar->addMenu(QStringLiteral("&5-Настройки"));
  m_pView = make(fake.Get());
  m_pView->SetMainMenu(m_pMenuBar.get());
  m_pView->resize(1000, 600);
  m_pView->SetMainLog(&fake.log);
  m_pView->Create();
  m_pView->Repaint();
  m_background = m_pView->BackBuffer();
}

ViewHarness::~ViewHarness() {
  m_pView.reset();
  m_pMenuBar.reset();
  CWordsView::SharedRepeatCounter() = 0;
}

bool ViewHarness::Open(const std::vector<LessonRow>& rows) {
  const QString path = m_dir.filePath(QStringLiteral("lesson%1.db").arg(++m_nLessons));
  WriteLesson(path, rows);
  fake.files.answers.push_back(path);
  return m_pView->OpenLesson();
}

QRgb Over(QRgb c, QRgb under) {
  const int a = qAlpha(c);
  auto mix = [a](int top, int bottom) { return (top * a + bottom * (255 - a) + 127) / 255; };
  return qRgb(mix(qRed(c), qRed(under)), mix(qGreen(c), qGreen(under)),
              mix(qBlue(c), qBlue(under)));
}

bool Near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance &&
         std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

int ChangedPixels(const QImage& image, const QImage& reference, const QRect& area,
                  int tolerance) {
  int changed = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (!Near(image.pixel(x, y), reference.pixel(x, y), tolerance)) ++changed;
    }
  }
  return changed;
}

QRect InkBox(const QImage& image, QRgb ink, const QRect& area, int tolerance) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (Near(image.pixel(x, y), ink, tolerance)) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

}  // namespace verbaro::test
