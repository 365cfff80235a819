#include "tools/LessonWriter.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace verbaro::lesson {
namespace {

constexpr const char* kCreateTable =
    "CREATE TABLE FrRuDict ("
    "Nr INTEGER PRIMARY KEY, Topic TEXT, FrGram TEXT, FrNumber TEXT, FrWord TEXT, "
    "Info1 TEXT, Info2 TEXT, Info3 TEXT, "
    "Ru1 TEXT, Ru2 TEXT, Ru3 TEXT, Ru4 TEXT, Ru5 TEXT, Mp3Word BLOB)";
constexpr const char* kInsertRow = "INSERT INTO FrRuDict VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
constexpr int kTranslationColumns = 5;

// The permissions a newly created file gets under the current umask.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Renames only when the target does not exist; link() refuses an existing name atomically.
bool MoveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
}

}  // namespace

LessonWriter::LessonWriter(std::filesystem::path target) : target_(std::move(target)) {}

LessonWriter::~LessonWriter() { Discard(); }

std::string LessonWriter::SqliteError() const {
  return db_ ? std::string(sqlite3_errmsg(db_)) : std::string("нет соединения");
}

bool LessonWriter::Open(std::string& error) {
  std::filesystem::path folder = target_.parent_path();
  if (folder.empty()) folder = ".";
  std::string hiddenName = ".";
  hiddenName.append(target_.filename().string()).append(".XXXXXX");
  std::string pattern = (folder / hiddenName).string();
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    error = "не могу создать временный файл в папке " + folder.string() + ": " + std::strerror(errno);
    return false;
  }
  fchmod(fd, NewFileMode());
  close(fd);
  temporary_ = pattern;

  if (sqlite3_open_v2(temporary_.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    error = "не могу открыть временный файл урока: " + SqliteError();
    return false;
  }
  // The temporary file is thrown away on any failure, so no journal is needed.
  const bool ready =
      sqlite3_exec(db_, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;", nullptr,
                   nullptr, nullptr) == SQLITE_OK &&
      sqlite3_exec(db_, kCreateTable, nullptr, nullptr, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db_, kInsertRow, -1, &insert_, nullptr) == SQLITE_OK;
  if (!ready) {
    error = "не могу создать таблицу урока: " + SqliteError();
    return false;
  }
  return true;
}

bool LessonWriter::AddRow(const LessonRow& row, std::string& error) {
  const auto text = [&](int column, const std::string& value) {
    sqlite3_bind_text(insert_, column, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
  };
  sqlite3_reset(insert_);
  sqlite3_bind_int(insert_, 1, ++rowCount_);
  text(2, row.topic);
  text(3, row.grammar);
  text(4, row.number);
  text(5, row.word);
  text(6, row.info1);
  text(7, row.info2);
  text(8, row.info3);
  static const std::string kEmpty;
  for (int i = 0; i < kTranslationColumns; ++i)
    text(9 + i, static_cast<size_t>(i) < row.translations.size() ? row.translations[i] : kEmpty);
  // A null pointer would store NULL, which the trainer cannot read; keep it a blob.
  if (row.mp3.empty()) {
    sqlite3_bind_zeroblob(insert_, 14, 0);
  } else {
    sqlite3_bind_blob(insert_, 14, row.mp3.data(), static_cast<int>(row.mp3.size()), SQLITE_TRANSIENT);
  }
  if (sqlite3_step(insert_) != SQLITE_DONE) {
    error = "не могу записать строку " + std::to_string(rowCount_) + ": " + SqliteError();
    return false;
  }
  return true;
}

bool LessonWriter::Commit(bool replaceExisting, std::string& error) {
  sqlite3_finalize(insert_);
  insert_ = nullptr;
  std::string problem;
  if (sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK)
    problem = "не могу завершить запись урока: " + SqliteError();
  if (sqlite3_close(db_) != SQLITE_OK && problem.empty()) problem = "не могу закрыть файл урока";
  db_ = nullptr;
  if (!problem.empty()) {
    error = problem;
    return false;
  }

  const bool moved = replaceExisting ? std::rename(temporary_.c_str(), target_.c_str()) == 0
                                     : MoveWithoutReplacing(temporary_, target_);
  if (!moved) {
    error = errno == EEXIST ? "файл уже существует: " + target_.string()
                            : "не могу записать " + target_.string() + ": " + std::strerror(errno);
    return false;
  }
  temporary_.clear();
  return true;
}

void LessonWriter::Discard() {
  if (insert_) sqlite3_finalize(insert_);
  insert_ = nullptr;
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
  if (!temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
  }
}

}  // namespace verbaro::lesson
