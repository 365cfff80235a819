#include "lessonwriter/LessonWriter.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace verbaro::lesson {
namespace {

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

// Parameter 1 is the rowid, parameter 1 + p the column at position p > 0, whichever columns the
// table keeps. The entry number (position 0) is the rowid itself.
std::string InsertSql(const LessonColumns& columns, bool skipRepeated) {
  std::string names = "rowid";
  std::string values = "?1";
  for (size_t i = 0; i < (columns.empty() ? size_t{kLessonColumnCount} : columns.size()); ++i) {
    const int position = columns.empty() ? static_cast<int>(i) : columns[i];
    if (position == 0) continue;
    names.append(", ").append(kLessonColumnNames[static_cast<size_t>(position)]);
    values.append(", ?").append(std::to_string(position + 1));
  }
  return std::string(skipRepeated ? "INSERT OR IGNORE" : "INSERT") + " INTO " + kLessonTableName + " (" + names +
         ") VALUES (" + values + ")";
}

void BindText(sqlite3_stmt* insert, int parameter, const LessonText& text) {
  if (const auto* utf8 = std::get_if<std::string>(&text)) {
    sqlite3_bind_text(insert, parameter, utf8->data(), static_cast<int>(utf8->size()),
                      SQLITE_TRANSIENT);
  } else if (const auto* utf16 = std::get_if<std::u16string>(&text)) {
    sqlite3_bind_text16(insert, parameter, utf16->data(),
                        static_cast<int>(utf16->size() * sizeof(char16_t)), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_null(insert, parameter);
  }
}

void BindRecording(sqlite3_stmt* insert, int parameter, const LessonRow& row) {
  const std::span<const uint8_t> bytes = row.recording;
  switch (row.recordingKind) {
    case RecordingKind::Bytes:
      // A null pointer would store NULL, which the trainer cannot read; keep it a blob.
      if (bytes.empty()) {
        sqlite3_bind_zeroblob(insert, parameter, 0);
      } else {
        sqlite3_bind_blob(insert, parameter, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
      }
      break;
    case RecordingKind::Null:
      sqlite3_bind_null(insert, parameter);
      break;
    case RecordingKind::Integer:
      sqlite3_bind_int(insert, parameter, 42);
      break;
    case RecordingKind::Text:
      sqlite3_bind_text(insert, parameter, reinterpret_cast<const char*>(bytes.data()),
                        static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
      break;
  }
}

}  // namespace

LessonWriter::LessonWriter(std::filesystem::path target, LessonWriterOptions options)
    : target_(std::move(target)), options_(std::move(options)) {}

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
  return Prepare("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", error);
}

bool LessonWriter::OpenInPlace(std::string& error) {
  if (sqlite3_open_v2(target_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    error = "не могу открыть файл урока " + target_.string() + ": " + SqliteError();
    return false;
  }
  return Prepare("", error);
}

bool LessonWriter::Prepare(const char* pragmas, std::string& error) {
  std::string sql = pragmas;
  if (options_.pageSize > 0) sql += "PRAGMA page_size=" + std::to_string(options_.pageSize) + ";";
  std::string create;
  std::string insert;
  try {
    create = CreateLessonTableSql(options_.columns);
    insert = InsertSql(options_.columns, options_.skipRepeatedRowids);
  } catch (const std::invalid_argument& bad) {
    error = bad.what();
    return false;
  }
  sql += std::string("BEGIN; DROP TABLE IF EXISTS ") + kLessonTableName + "; " + create + ";";
  const bool ready =
      sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db_, insert.c_str(), -1, &insert_, nullptr) == SQLITE_OK;
  if (!ready) {
    error = "не могу создать таблицу урока: " + SqliteError();
    return false;
  }
  return true;
}

bool LessonWriter::AddRow(const LessonRow& row, std::string& error) {
  if (!insert_) {
    error = "урок не открыт для записи";
    return false;
  }
  ++rowCount_;
  sqlite3_reset(insert_);
  const int64_t rowid = row.rowid.value_or(rowCount_);
  // Parameters of columns the table does not keep are unused by the statement or past its last
  // one; binding them does nothing.
  sqlite3_bind_int64(insert_, 1, rowid);
  for (int position = 1; position < kRecordingColumn; ++position)
    BindText(insert_, position + 1, row.texts[static_cast<size_t>(position - 1)]);
  BindRecording(insert_, kRecordingColumn + 1, row);
  if (sqlite3_step(insert_) != SQLITE_DONE) {
    error = "не могу записать строку " + std::to_string(rowCount_) + ": " + SqliteError();
    return false;
  }
  return true;
}

bool LessonWriter::Commit(bool replaceExisting, std::string& error) {
  if (!db_) {
    error = "урок не открыт для записи";
    return false;
  }
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
  if (temporary_.empty()) return true;

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
  // Closing inside the open transaction rolls the rows back.
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
  if (!temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
  }
}

}  // namespace verbaro::lesson
