#pragma once
// Writes a lesson file: the table FrRuDict (its shape is the core's, data/LessonTable.h) filled
// row by row.
// Two ways to write:
//  - Open: rows go to a temporary file beside the target, which replaces the target only at
//    Commit, so a failed build never leaves a half-written lesson behind;
//  - OpenInPlace: the target itself, created if need be; an old FrRuDict in it is dropped and
//    everything else in the file (other tables, its journal mode) is kept.
// Rows may carry what a lesson should never hold (NULL texts, a recording stored as a number or
// a text, any rowid), so that readers of lessons can be tried on such files.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "data/LessonTable.h"

struct sqlite3;
struct sqlite3_stmt;

namespace verbaro::lesson {

// A text cell: NULL, UTF-8 or UTF-16.
using LessonText = std::variant<std::monostate, std::string, std::u16string>;

// What the Mp3Word column of a row holds.
enum class RecordingKind {
  Bytes,    // `recording` as a BLOB, a zero-length one when it is empty
  Null,     // NULL
  Integer,  // the number 42
  Text,     // `recording` as TEXT
};

struct LessonRow {
  std::optional<int64_t> rowid;  // by default the row's place among the rows written, from 1
  std::array<LessonText, kLastTextColumn> texts;  // positions 1 to 12: topic .. fifth translation
  RecordingKind recordingKind = RecordingKind::Bytes;
  std::span<const uint8_t> recording;  // must stay valid until AddRow returns

  LessonText& Text(int position) { return texts.at(static_cast<size_t>(position - 1)); }
};

struct LessonWriterOptions {
  LessonColumns columns;            // the columns the table keeps; empty: all fourteen
  int pageSize = 0;                 // 0: SQLite's default; applies to a new or empty file only
  bool skipRepeatedRowids = false;  // a row whose rowid is taken is left out instead of failing
};

class LessonWriter {
 public:
  explicit LessonWriter(std::filesystem::path target, LessonWriterOptions options = {});
  ~LessonWriter();  // removes the temporary file unless committed; drops uncommitted rows
  LessonWriter(const LessonWriter&) = delete;
  LessonWriter& operator=(const LessonWriter&) = delete;

  // Each returns false with `error` (Russian) set on failure.
  bool Open(std::string& error);
  bool OpenInPlace(std::string& error);
  bool AddRow(const LessonRow& row, std::string& error);
  // Ends the writing. After Open the finished lesson moves into place, replacing an existing
  // target only when asked; after OpenInPlace `replaceExisting` does not matter.
  bool Commit(bool replaceExisting, std::string& error);
  // The file the rows go to before Commit (after Open), so that a process stopped by a signal
  // can remove it; empty otherwise.
  const std::filesystem::path& TemporaryPath() const { return m_temporary; }

 private:
  bool Prepare(const char* pragmas, std::string& error);
  void Discard();
  std::string SqliteError() const;

  std::filesystem::path m_target;
  LessonWriterOptions m_options;
  std::filesystem::path m_temporary;
  sqlite3* m_db = nullptr;
  sqlite3_stmt* m_insert = nullptr;
  int64_t m_rowCount = 0;
};

}  // namespace verbaro::lesson
