// Reading a lesson file: every row of FrRuDict becomes one WordsData record with its recording.
// The file is opened read-only and hardened against its own content (UntrustedDatabase), and
// closed before returning, so it is never modified and can be replaced or deleted while the
// program runs.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <new>

#include "data/LessonState.h"
#include "data/UntrustedDatabase.h"
#include "data/DiagnosticLog.h"
#include "data/Text.h"

namespace verbaro {

namespace {

struct ConnectionCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
struct BlobCloser {
  void operator()(sqlite3_blob* blob) const { sqlite3_blob_close(blob); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;
using Blob = std::unique_ptr<sqlite3_blob, BlobCloser>;

constexpr int kFirstTextColumn = 2;   // grammar, number, key word, three information lines
constexpr int kFirstAltColumn = 8;    // five translations
constexpr int kLastAltColumn = 12;

// The text of a column as UTF-16. A NULL value, a column the table does not have, or a failed
// conversion read as the empty text; the text ends at its first NUL.
std::u16string ColumnText(sqlite3_stmt* stmt, int column) {
  if (column >= sqlite3_column_count(stmt)) return {};
  const void* text = sqlite3_column_text16(stmt, column);
  if (text == nullptr) return {};
  const int bytes = sqlite3_column_bytes16(stmt, column);
  const std::u16string_view view(static_cast<const char16_t*>(text),
                                 static_cast<size_t>(bytes) / sizeof(char16_t));
  return std::u16string(view.substr(0, view.find(u'\0')));
}

// Reads the recordings of successive rows through one BLOB handle: the first row opens it, later
// rows move it to their rowid, which spares compiling the row lookup again for every row.
//
// Together the recordings cannot be larger than the database that stores them. A damaged or
// crafted file whose value claims more (an overflow chain that loops) fails its row instead of
// making the reader allocate and read what is not there.
class RecordingReader {
 public:
  explicit RecordingReader(sqlite3* db) : m_db(db), m_bytesLeft(StoredBytes(db)) {}

  // The recording of row nRow, read whole; null when it cannot be opened (no such rowid, NULL or
  // numeric value, no column Mp3Word) or read. Throws std::bad_alloc when it cannot be held.
  // After a failure the reader is spent: loading stops at the first row that fails.
  std::shared_ptr<std::vector<uint8_t>> Read(int nRow) {
    if (!Seek(nRow)) return nullptr;
    const int size = sqlite3_blob_bytes(m_blob.get());
    if (size < 0 || size > m_bytesLeft) return nullptr;
    m_bytesLeft -= size;
    auto buffer = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(size));
    if (size > 0 && sqlite3_blob_read(m_blob.get(), buffer->data(), size, 0) != SQLITE_OK) {
      return nullptr;
    }
    return buffer;
  }

 private:
  bool Seek(int nRow) {
    if (m_blob) return sqlite3_blob_reopen(m_blob.get(), nRow) == SQLITE_OK;
    sqlite3_blob* blob = nullptr;
    const int rc = sqlite3_blob_open(m_db, "Main", "FrRuDict", "Mp3Word", nRow, 0, &blob);
    m_blob.reset(blob);
    return rc == SQLITE_OK;
  }

  sqlite3* m_db;
  Blob m_blob;
  int64_t m_bytesLeft;  // of the stored database, for the recordings still to read
};

// The record of the statement's current row with its recording (row nRow); false when the
// recording cannot be read or memory runs out.
bool ReadRecord(RecordingReader& recordings, int nRow, sqlite3_stmt* stmt, WordsData& record) {
  try {
    std::shared_ptr<std::vector<uint8_t>> recording = recordings.Read(nRow);
    if (!recording) return false;
    record.nvMp3WordSize.push_back(static_cast<int32_t>(recording->size()));
    record.vpMp3Word.push_back(std::move(recording));
    int column = kFirstTextColumn;
    for (std::u16string* field : {&record.wsFrGram, &record.wsFrNumber, &record.wsKeyWord,
                                  &record.wsInfo1, &record.wsInfo2, &record.wsInfo3}) {
      *field = ColumnText(stmt, column++);
    }
    for (column = kFirstAltColumn; column <= kLastAltColumn; ++column) {
      std::u16string translation = ColumnText(stmt, column);
      if (translation.empty()) continue;
      record.vwsAltWords.push_back(std::move(translation));
      record.vnWordErrors.push_back(0);
    }
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

}  // namespace

int CLessonState::OpenDatabase(const std::u16string& path, sqlite3** db) {
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

bool CLessonState::LoadWordsData() {
  m_nTotalCountAltWords = 0;
  m_nRightAnswers = 0;
  m_nWrongAnswers = 0;
  m_nHints = 0;
  if (m_szDataFile.empty()) return false;

  sqlite3* rawDb = nullptr;
  if (OpenDatabase(m_szDataFile, &rawDb) != SQLITE_OK) return false;
  const Connection db(rawDb);
  if (m_pMainLog) m_pMainLog->Line(u"Открыт файл: ", m_szDataFile);

  sqlite3_stmt* rawStmt = nullptr;
  const int rc = sqlite3_prepare16_v2(db.get(), u"SELECT * FROM FrRuDict;", -1, &rawStmt, nullptr);
  const Statement stmt(rawStmt);
  if (rc != SQLITE_OK || !stmt) {
    ShowError(u"Не могу выполнить запрос к базе данных:\n" + m_szDataFile);
    return false;
  }

  RecordingReader recordings(db.get());
  int nRow = 1;
  int stepResult = SQLITE_ROW;
  while ((stepResult = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    WordsData record;
    if (!ReadRecord(recordings, nRow, stmt.get(), record) ||
        !AppendRecord(m_vWordsData, m_nTotalCountAltWords, std::move(record))) {
      break;
    }
    ++nRow;
  }
  if (stepResult == SQLITE_DONE) return true;
  // A row that cannot be read (its recording, or the row itself in a damaged file) ends the
  // load; the rows before it stay, and the learner is told the lesson is incomplete.
  if (m_pMainLog) m_pMainLog->Line(u"Ошибка чтения строки ", nRow, u" : ", m_szDataFile);
  ShowError(u"Не могу прочитать строку " + ToU16(nRow) + u" базы данных:\n" + m_szDataFile);
  return false;
}

bool CLessonState::ReadWordsRow(sqlite3* db, int nRow, sqlite3_stmt* stmt) {
  RecordingReader recordings(db);
  WordsData record;
  return ReadRecord(recordings, nRow, stmt, record) &&
         AppendRecord(m_vWordsData, m_nTotalCountAltWords, std::move(record));
}

}  // namespace verbaro
