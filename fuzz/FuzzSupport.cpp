#include "fuzz/FuzzSupport.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "data/Text.h"

namespace verbaro::fuzz {

namespace {

// The views load their backgrounds and logos from Res/ in the current folder when it has them,
// as a learner's own pictures. Tiny ones in the scratch folder keep every view's creation cheap:
// the built-in backgrounds are screen-sized and would cost most of each run.
void MakeTinyModePictures() {
  const QString folder = QString::fromStdString(ScratchFolder());
  QDir(folder).mkpath(QStringLiteral("Res"));
  const QString saved = QDir::currentPath();
  if (!QDir::setCurrent(folder)) abort();
  QImage background(4, 3, QImage::Format_RGB32);
  background.fill(Qt::darkBlue);
  QImage logo(3, 2, QImage::Format_ARGB32);
  logo.fill(QColor(255, 255, 0, 128));
  for (const char* mode : {"Conspect1", "Conspect2", "Video1", "Video2", "Exam1", "Exam2"}) {
    const QString name = QStringLiteral("Res/") + QLatin1String(mode);
    if (!background.save(name + QStringLiteral(".jpg"), "JPG") ||
        !logo.save(name + QStringLiteral("Logo.png"), "PNG")) {
      abort();
    }
  }
  QDir::setCurrent(saved);
}

}  // namespace

void EnsureApplication() {
  if (QApplication::instance()) return;
  // The fuzzers never need a display, whatever the environment says.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "verbaro_fuzz";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends: libFuzzer leaves through exit(), and a QApplication destroyed
  // by an exit handler would race Qt's own global teardown.
  static QApplication* application = new QApplication(argc, argv);
  (void)application;
  MakeTinyModePictures();
}

namespace {

struct Scratch {
  std::string path;
  Scratch() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "verbaro-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    path = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

InScratchFolder::InScratchFolder() : m_saved(QDir::currentPath()) {
  if (!QDir::setCurrent(QString::fromStdString(ScratchFolder()))) abort();
}

InScratchFolder::~InScratchFolder() { QDir::setCurrent(m_saved); }

const std::string& ScratchFolder() {
  static Scratch scratch;
  return scratch.path;
}

void WriteFileBytes(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

namespace {

void BindText(sqlite3_stmt* statement, int index, const std::u16string& text) {
  sqlite3_bind_text16(statement, index, text.data(), static_cast<int>(text.size() * 2),
                      SQLITE_TRANSIENT);
}

constexpr const char* kColumns[] = {"id",    "topic", "FrGram", "FrNumber", "FrWord",
                                    "Info1", "Info2", "Info3",  "Ru1",      "Ru2",
                                    "Ru3",   "Ru4",   "Ru5",    "Mp3Word"};
constexpr int kColumnCount = 14;

}  // namespace

bool WriteLesson(const std::string& path, const std::vector<LessonRow>& rows, int columns) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  columns = std::clamp(columns, 1, kColumnCount);
  // The recording column is kept whatever else is left out: without it every row is unreadable.
  std::string create = "CREATE TABLE FrRuDict(";
  std::string insert = "INSERT INTO FrRuDict(rowid";
  std::string values = ") VALUES(?1";
  for (int c = 0; c < columns; ++c) {
    const int column = c == columns - 1 ? kColumnCount - 1 : c;
    create += std::string(c ? ", " : "") + kColumns[column];
    insert += std::string(", ") + kColumns[column];
    values += ", ?" + std::to_string(column + 2);
  }
  create += ");";
  insert += values + ");";

  sqlite3* db = nullptr;
  bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK;
  // Small pages keep the seed files small.
  ok = ok && sqlite3_exec(db, "PRAGMA page_size=512;", nullptr, nullptr, nullptr) == SQLITE_OK;
  ok = ok && sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  ok = ok && sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_stmt* statement = nullptr;
  ok = ok && sqlite3_prepare_v2(db, insert.c_str(), -1, &statement, nullptr) == SQLITE_OK;
  int64_t place = 1;
  for (const LessonRow& row : rows) {
    if (!ok) break;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    sqlite3_bind_int64(statement, 1, row.rowid ? row.rowid : place);
    ++place;
    sqlite3_bind_int64(statement, 2, place);
    BindText(statement, 3, u"topic");
    BindText(statement, 4, row.gram);
    BindText(statement, 5, row.number);
    BindText(statement, 6, row.key);
    BindText(statement, 7, row.info1);
    BindText(statement, 8, row.info2);
    BindText(statement, 9, row.info3);
    for (size_t t = 0; t < row.translations.size() && t < 5; ++t) {
      BindText(statement, 10 + static_cast<int>(t), row.translations[t]);
    }
    switch (row.blobKind) {
      case BlobKind::Bytes:
        sqlite3_bind_blob(statement, 15, row.blob.empty() ? "" : static_cast<const void*>(row.blob.data()),
                          static_cast<int>(row.blob.size()), SQLITE_TRANSIENT);
        break;
      case BlobKind::Null:
        sqlite3_bind_null(statement, 15);
        break;
      case BlobKind::Integer:
        sqlite3_bind_int(statement, 15, 42);
        break;
      case BlobKind::Text:
        sqlite3_bind_text(statement, 15, reinterpret_cast<const char*>(row.blob.data()),
                          static_cast<int>(row.blob.size()), SQLITE_TRANSIENT);
        break;
    }
    const int rc = sqlite3_step(statement);
    // A repeated rowid is refused by the table; the row is simply not there.
    ok = rc == SQLITE_DONE || rc == SQLITE_CONSTRAINT;
  }
  sqlite3_finalize(statement);
  ok = ok && sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

std::vector<uint8_t> ByteReader::Bytes(size_t limit) {
  const size_t count = std::min<size_t>(Byte(), limit);
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < count && !Empty(); ++i) bytes.push_back(Byte());
  return bytes;
}

std::u16string ByteReader::Text(const std::vector<std::u16string>& pool) {
  const uint8_t choice = Byte();
  if (choice < pool.size()) return pool[choice];
  const size_t length = choice & 0x0F;
  std::u16string text;
  if (choice & 0x80) {
    // Raw UTF-16 units: lone surrogates, NULs and the typing line's own marks included.
    for (size_t i = 0; i < length && !Empty(); ++i) text += static_cast<char16_t>(Word());
    return text;
  }
  std::string utf8;
  for (size_t i = 0; i < length && !Empty(); ++i) utf8 += static_cast<char>(Byte());
  return FromUtf8(utf8);
}

}  // namespace verbaro::fuzz
