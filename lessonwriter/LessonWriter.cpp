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
  return std::string(skipRepeated ? "INSERT OR IGNORE" : "INSERT") + " INTO " + kLessonTableName +
         " (" + names + ") VALUES (" + values + ")";
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
    case RecordingKind::Null: sqlite3_bind_null(insert, parameter); break;
    case RecordingKind::Integer: sqlite3_bind_int(insert, parameter, 42); break;
    case RecordingKind::Text:
      sqlite3_bind_text(insert, parameter, reinterpret_cast<const char*>(bytes.data()),
                        static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
      break;
  }
}

}  // namespace

LessonWriter::LessonWriter(std::filesystem::path target, LessonWriterOptions options)
    : m_target(std::move(target)), m_options(std::move(options)) {}

LessonWriter::~LessonWriter() { Discard(); }

std::string LessonWriter::SqliteError() const {
  return m_db ? std::string(sqlite3_errmsg(m_db)) : std::string("нет соединения");
}

bool LessonWriter::Open(std::string& error) {
  std::filesystem::path folder = m_target.parent_path();
  if (folder.empty()) folder = ".";
  std::string hiddenName = ".";
  hiddenName.append(m_target.filename().string()).append(".XXXXXX");
  std::string pattern = (folder / hiddenName).string();
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    error =
        "не могу создать временный файл в папке " + folder.string() + ": " + std::strerror(errno);
    return false;
  }
  fchmod(fd, NewFileMode());
  close(fd);
  m_temporary = pattern;

  if (sqlite3_open_v2(m_temporary.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    error = "не могу открыть временный файл урока: " + SqliteError();
    return false;
  }
  // The temporary file is thrown away on any failure, so no journal is needed.
  return Prepare("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", error);
}

bool LessonWriter::OpenInPlace(std::string& error) {
  if (sqlite3_open_v2(m_target.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    error = "не могу открыть файл урока " + m_target.string() + ": " + SqliteError();
    return false;
  }
  return Prepare("", error);
}

bool LessonWriter::Prepare(const char* pragmas, std::string& error) {
  std::string sql = pragmas;
  if (m_options.pageSize > 0) sql += "PRAGMA page_size=" + std::to_string(m_options.pageSize) + ";";
  std::string create;
  std::string insert;
  try {
    create = CreateLessonTableSql(m_options.columns);
    insert = InsertSql(m_options.columns, m_options.skipRepeatedRowids);
  } catch (const std::invalid_argument& bad) {
    error = bad.what();
    return false;
  }
  sql += std::string("BEGIN; DROP TABLE IF EXISTS ") + kLessonTableName + "; " + create + ";";
  const bool ready = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK &&
                     sqlite3_prepare_v2(m_db, insert.c_str(), -1, &m_insert, nullptr) == SQLITE_OK;
  if (!ready) {
    error = "не могу создать таблицу урока: " + SqliteError();
    return false;
  }
  return true;
}

bool LessonWriter::AddRow(const LessonRow& row, std::string& error) {
  if (!m_insert) {
    error = "урок не открыт для записи";
    return false;
  }
  ++m_rowCount;
  sqlite3_reset(m_insert);
  const int64_t rowid = row.rowid.value_or(m_rowCount);
  // Parameters of columns the table does not keep are unused by the statement or past its last
  // one; binding them does nothing.
  sqlite3_bind_int64(m_insert, 1, rowid);
  for (int position = 1; position < kRecordingColumn; ++position)
    BindText(m_insert, position + 1, row.texts[static_cast<size_t>(position - 1)]);
  BindRecording(m_insert, kRecordingColumn + 1, row);
  if (sqlite3_step(m_insert) != SQLITE_DONE) {
    error = "не могу записать строку " + std::to_string(m_rowCount) + ": " + SqliteError();
    return false;
  }
  return true;
}

bool LessonWriter::Commit(bool replaceExisting, std::string& error) {
  if (!m_db) {
    error = "урок не открыт для записи";
    return false;
  }
  sqlite3_finalize(m_insert);
  m_insert = nullptr;
  std::string problem;
  if (sqlite3_exec(m_db, "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK)
    problem = "не могу завершить запись урока: " + SqliteError();
  if (sqlite3_close(m_db) != SQLITE_OK && problem.empty()) problem = "не могу закрыть файл урока";
  m_db = nullptr;
  if (!problem.empty()) {
    error = problem;
    return false;
  }
  if (m_temporary.empty()) return true;

  const bool moved = replaceExisting ? std::rename(m_temporary.c_str(), m_target.c_str()) == 0
                                     : MoveWithoutReplacing(m_temporary, m_target);
  if (!moved) {
    error = errno == EEXIST ? "файл уже существует: " + m_target.string()
                            : "не могу записать " + m_target.string() + ": " + std::strerror(errno);
    return false;
  }
  m_temporary.clear();
  return true;
}

void LessonWriter::Discard() {
  if (m_insert) sqlite3_finalize(m_insert);
  m_insert = nullptr;
  // Closing inside the open transaction rolls the rows back.
  if (m_db) sqlite3_close(m_db);
  m_db = nullptr;
  if (!m_temporary.empty()) {
    std::error_code ignored;
    std::filesystem::remove(m_temporary, ignored);
    m_temporary.clear();
  }
}

}  // namespace verbaro::lesson
