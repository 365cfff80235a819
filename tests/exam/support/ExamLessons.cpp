#include "ExamLessons.h"

#include <sqlite3.h>

#include <QFile>
#include <stdexcept>

#include "platform/Text.h"

namespace verbaro::examtest {

namespace {

void Check(int rc, sqlite3* db, const char* what) {
  if (rc == SQLITE_OK || rc == SQLITE_DONE) return;
  throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

void BindText(sqlite3_stmt* stmt, int position, const std::u16string& text, sqlite3* db) {
  const std::string utf8 = ToUtf8(text);
  Check(sqlite3_bind_text(stmt, position, utf8.c_str(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT),
        db, "bind");
}

}  // namespace

LessonRow Row(std::u16string word, std::u16string grammar, std::u16string number,
              std::vector<std::u16string> answers) {
  LessonRow row;
  row.info1 = u"[" + word + u"]";
  row.info2 = u"info2";
  row.info3 = u"info3";
  row.word = std::move(word);
  row.grammar = std::move(grammar);
  row.number = std::move(number);
  row.answers = std::move(answers);
  return row;
}

std::vector<uint8_t> RecordingOf(const std::u16string& word) {
  const std::string utf8 = "rec:" + ToUtf8(word);
  return std::vector<uint8_t>(utf8.begin(), utf8.end());
}

std::vector<uint8_t> Mp3Fixture(const std::string& name) {
  QFile file(QString::fromStdString(std::string(VERBARO_TEST_FIXTURES) + "/mp3/" + name));
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("missing fixture " + name);
  const QByteArray bytes = file.readAll();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

QString WriteLesson(const QString& path, const std::vector<LessonRow>& rows) {
  sqlite3* db = nullptr;
  const QByteArray utf8Path = path.toUtf8();
  if (sqlite3_open(utf8Path.constData(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot create the lesson file");
  }
  Check(sqlite3_exec(db,
                     "DROP TABLE IF EXISTS FrRuDict;"
                     "CREATE TABLE FrRuDict (Nr INTEGER PRIMARY KEY, Topic TEXT, FrGram TEXT, "
                     "FrNumber TEXT, FrWord TEXT, Info1 TEXT, Info2 TEXT, Info3 TEXT, Ru1 TEXT, "
                     "Ru2 TEXT, Ru3 TEXT, Ru4 TEXT, Ru5 TEXT, Mp3Word BLOB);",
                     nullptr, nullptr, nullptr),
        db, "create");
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO FrRuDict VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?);", -1,
                           &stmt, nullptr),
        db, "prepare");
  int rowid = 1;
  for (const LessonRow& row : rows) {
    sqlite3_reset(stmt);
    Check(sqlite3_bind_int(stmt, 1, rowid++), db, "bind");
    BindText(stmt, 2, u"topic", db);
    BindText(stmt, 3, row.grammar, db);
    BindText(stmt, 4, row.number, db);
    BindText(stmt, 5, row.word, db);
    BindText(stmt, 6, row.info1, db);
    BindText(stmt, 7, row.info2, db);
    BindText(stmt, 8, row.info3, db);
    for (int i = 0; i < 5; ++i) {
      const std::u16string answer = i < static_cast<int>(row.answers.size()) ? row.answers[i] : u"";
      BindText(stmt, 9 + i, answer, db);
    }
    const std::vector<uint8_t> blob = row.recording.empty() ? RecordingOf(row.word) : row.recording;
    Check(sqlite3_bind_blob(stmt, 14, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT),
          db, "bind");
    Check(sqlite3_step(stmt), db, "insert");
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return path;
}

}  // namespace verbaro::examtest
