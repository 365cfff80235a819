// Reading a lesson file: every row of FrRuDict becomes one WordsData record whose recording is
// a reference into the file. The file is opened read-only and hardened against its own content
// (UntrustedDatabase), so it is never modified. Only the texts are read here; each recording's
// presence, type and size are checked from its row's header, and its bytes are read when it is
// sounded, through the connection that stays open with the lesson (LessonRecordings).
#include <sqlite3.h>

#include <cstdint>
#include <iterator>
#include <memory>
#include <new>
#include <string>

#include "data/DiagnosticLog.h"
#include "data/LessonRecordings.h"
#include "data/LessonRowTexts.h"
#include "data/LessonState.h"
#include "data/LessonTable.h"
#include "data/Sql.h"
#include "data/Text.h"
#include "data/UntrustedDatabase.h"

namespace verbaro {

namespace {

using lesson::kFirstTextColumn;
using lesson::kLastTextColumn;

// The query that reads the text columns, positions 2 to 12 of "SELECT * FROM FrRuDict", by their
// names. Naming them keeps SQLite from taking every recording out of its row, as "SELECT *"
// would. NOT INDEXED keeps the table's own order (by rowid): the planner could otherwise scan an
// index that covers the named columns. Not valid when the table cannot be queried.
Statement PrepareTextQuery(sqlite3* db) {
  const Statement all(db, std::string("SELECT * FROM ") + lesson::kLessonTableName + ";");
  if (!all.IsValid()) return {};
  const int columns = all.ColumnCount();
  std::string sql = "SELECT ";
  for (int column = kFirstTextColumn; column <= kLastTextColumn && column < columns; ++column) {
    const char* name = sqlite3_column_name(all.Handle(), column);
    if (name == nullptr) return {};
    if (column > kFirstTextColumn) sql += ',';
    sql += '"';
    for (const char* c = name; *c != '\0'; ++c)
      sql += *c == '"' ? std::string("\"\"") : std::string(1, *c);
    sql += '"';
  }
  // A table of two columns or fewer has no texts to read; its rows are still counted.
  if (columns <= kFirstTextColumn) sql += "NULL";
  sql += std::string(" FROM ") + lesson::kLessonTableName + " NOT INDEXED;";
  return Statement(db, sql);
}

// The record of the statement's current row with a reference to its recording (row nRow); false
// when the recording cannot be read or memory runs out.
bool ReadRecord(const std::shared_ptr<LessonRecordings>& recordings, int nRow, sqlite3_stmt* stmt,
                lesson::RowReading reading, WordsData& record) {
  try {
    const std::optional<int32_t> size = recordings->Probe(nRow);
    if (!size) return false;
    record.vpMp3Word.emplace_back(recordings, nRow, *size);
    record.nvMp3WordSize.push_back(*size);
    // The text query's first result column is the grammar.
    lesson::LessonRowTexts texts = lesson::ReadLessonRowTexts(stmt, 0, reading);
    record.wsFrGram = std::move(texts.grammar);
    record.wsFrNumber = std::move(texts.number);
    record.wsKeyWord = std::move(texts.word);
    record.wsInfo1 = std::move(texts.info1);
    record.wsInfo2 = std::move(texts.info2);
    record.wsInfo3 = std::move(texts.info3);
    record.vnWordErrors.assign(texts.translations.size(), 0);
    record.vwsAltWords.assign(std::make_move_iterator(texts.translations.begin()),
                              std::make_move_iterator(texts.translations.end()));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Appends the record and counts its translations; false when memory runs out.
bool AppendRecord(std::vector<WordsData>& records, int32_t& totalAltWords, WordsData&& record) {
  try {
    const auto nAltWords = static_cast<int32_t>(record.vwsAltWords.size());
    records.push_back(std::move(record));
    totalAltWords += nAltWords;
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Room for the records before they are read, so that the list is not moved again and again as
// it grows: the rows are numbered from 1, so the largest rowid (found without a scan) is their
// number. A damaged or odd table only costs a reservation that is too small or unused.
void ReserveRecords(sqlite3* db, std::vector<WordsData>& records) {
  constexpr int64_t kMostReserved = 1 << 21;
  Statement last(db, std::string("SELECT max(rowid) FROM ") + lesson::kLessonTableName + ";");
  if (!last.Step()) return;
  const int64_t rows = last.Int(0);
  if (rows <= 0 || rows > kMostReserved) return;
  try {
    records.reserve(static_cast<size_t>(rows));
  } catch (const std::bad_alloc&) {
    // Read without the reservation: the rows themselves decide whether memory suffices.
  }
}

}  // namespace

int LessonState::OpenDatabase(const std::u16string& path, sqlite3** db) {
  *db = nullptr;
  const std::string utf8Path = ToUtf8(path);
  const std::string header = ReadFileStart(utf8Path, kDatabaseHeaderBytes);
  if (header.empty()) {
    ShowError(u"База данных:\n\"" + path + u"\"\nпустая!");
    return SQLITE_EMPTY;
  }
  const int rc = OpenUntrustedDatabase(utf8Path, header, db);
  if (rc != SQLITE_OK) ShowError(u"Не могу открыть базу данных:\n" + path);
  return rc;
}

bool LessonState::LoadWordsData() {
  m_nTotalCountAltWords = 0;
  m_rightAnswers = 0;
  m_wrongAnswers = 0;
  m_hints = 0;
  if (m_szDataFile.empty()) return false;

  sqlite3* rawDb = nullptr;
  if (OpenDatabase(m_szDataFile, &rawDb) != SQLITE_OK) return false;
  // The records share the connection from here on; it closes with the last of them.
  const auto recordings = std::make_shared<LessonRecordings>(rawDb);
  if (m_mainLog) m_mainLog->Line(u"Открыт файл: ", m_szDataFile);

  Statement stmt = PrepareTextQuery(recordings->Connection());
  if (!stmt.IsValid()) {
    ShowError(u"Не могу выполнить запрос к базе данных:\n" + m_szDataFile);
    return false;
  }

  // The reversed lessons of the "-2" modes make new records without the information lines.
  const lesson::RowReading reading{lesson::StoresTextAsUtf8(recordings->Connection()),
                                   !m_bContraVersa};
  ReserveRecords(recordings->Connection(), m_vWordsData);
  int nRow = 1;
  bool rowRead = true;
  while (stmt.Step()) {
    rowRead = ReadWordsRow(recordings, nRow, stmt.Handle(), reading);
    if (!rowRead) break;
    ++nRow;
  }
  recordings->EndProbing();
  // The connection stays open for the recordings, which are read a row at a time: the pages it
  // cached while reading every row would only take room.
  sqlite3_db_release_memory(recordings->Connection());
  if (rowRead && stmt.Result() == SQLITE_DONE) return true;
  // A row that cannot be read (its recording, or the row itself in a damaged file) ends the
  // load; the rows before it stay, and the learner is told the lesson is incomplete.
  if (m_mainLog) m_mainLog->Line(u"Ошибка чтения строки ", nRow, u" : ", m_szDataFile);
  ShowError(u"Не могу прочитать строку " + ToU16(nRow) + u" базы данных:\n" + m_szDataFile);
  return false;
}

bool LessonState::ReadWordsRow(const std::shared_ptr<LessonRecordings>& recordings, int nRow,
                               sqlite3_stmt* stmt, lesson::RowReading reading) {
  WordsData record;
  return ReadRecord(recordings, nRow, stmt, reading, record) &&
         AppendRecord(m_vWordsData, m_nTotalCountAltWords, std::move(record));
}

}  // namespace verbaro
