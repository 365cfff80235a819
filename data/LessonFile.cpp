// Reading a lesson file: every row of FrRuDict becomes one WordsData record with its recording.
// The file is opened read-only and closed before returning, so it is never modified and can be
// replaced or deleted while the program runs.
#include <sqlite3.h>

#include <fstream>
#include <memory>
#include <new>

#include "data/LessonState.h"
#include "platform/DiagnosticLog.h"
#include "platform/Text.h"

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

// The start of a file: nothing for a missing, unreadable or zero-length file.
std::string ReadFileStart(const std::string& utf8Path, size_t maxBytes) {
  std::ifstream file(utf8Path, std::ios::in | std::ios::binary);
  std::string start(maxBytes, '\0');
  if (!file.is_open()) return {};
  file.read(start.data(), static_cast<std::streamsize>(maxBytes));
  start.resize(static_cast<size_t>(file.gcount()));
  return start;
}

constexpr size_t kHeaderBytes = 20;

// A database in write-ahead-log mode whose log has been folded back into the file: the file alone
// holds everything, and reading it as immutable keeps SQLite from creating -wal and -shm files
// beside it.
bool IsSelfContainedWalDatabase(const std::string& utf8Path, const std::string& header) {
  static constexpr char kMagic[] = "SQLite format 3";
  const bool isDatabase = header.size() >= kHeaderBytes &&
                          header.compare(0, sizeof kMagic, kMagic, sizeof kMagic) == 0;
  const bool isWal = isDatabase && header[18] == 2 && header[19] == 2;  // write and read versions
  if (!isWal) return false;
  std::ifstream wal(utf8Path + "-wal");
  return !wal.is_open();
}

// A file: URI naming the path exactly, for opening with URI parameters.
std::string FileUri(const std::string& utf8Path) {
  std::string uri = utf8Path.starts_with('/') ? "file://" : "file:";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : utf8Path) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '%' || c == '?' || c == '#' || byte < 0x20) {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0x0F];
    } else {
      uri += c;
    }
  }
  return uri;
}

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

// The recording of row nRow, read whole through the BLOB interface; null when it cannot be
// opened (no such rowid, NULL or numeric value), read, or held in memory.
std::shared_ptr<std::vector<uint8_t>> ReadRecording(sqlite3* db, int nRow) {
  sqlite3_blob* rawBlob = nullptr;
  const int rc = sqlite3_blob_open(db, "Main", "FrRuDict", "Mp3Word", nRow, 0, &rawBlob);
  const Blob blob(rawBlob);
  if (rc != SQLITE_OK) return nullptr;
  const int size = sqlite3_blob_bytes(blob.get());
  if (size < 0) return nullptr;
  std::shared_ptr<std::vector<uint8_t>> buffer;
  try {
    buffer = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return nullptr;  // a hostile size must not bring the program down
  }
  if (size > 0 && sqlite3_blob_read(blob.get(), buffer->data(), size, 0) != SQLITE_OK) {
    return nullptr;
  }
  return buffer;
}

}  // namespace

int CLessonState::OpenDatabase(const std::u16string& path, sqlite3** db) {
  *db = nullptr;
  const std::string utf8Path = ToUtf8(path);
  const std::string header = ReadFileStart(utf8Path, kHeaderBytes);
  if (header.empty()) {
    ShowError(u"База данных:\n\"" + path + u"\"\nпустая!");
    return SQLITE_EMPTY;
  }
  // Read-only: reading a lesson must never create, change or recover the file.
  sqlite3* handle = nullptr;
  const int rc =
      IsSelfContainedWalDatabase(utf8Path, header)
          ? sqlite3_open_v2((FileUri(utf8Path) + "?immutable=1").c_str(), &handle,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr)
          : sqlite3_open_v2(utf8Path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(handle);  // a failed open still allocates a handle
    ShowError(u"Не могу открыть базу данных:\n" + path);
    return rc;
  }
  *db = handle;
  return SQLITE_OK;
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

  int nRow = 1;
  int stepResult = SQLITE_ROW;
  while ((stepResult = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    if (!ReadWordsRow(db.get(), nRow, stmt.get())) break;
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
  try {
    std::shared_ptr<std::vector<uint8_t>> recording = ReadRecording(db, nRow);
    if (!recording) return false;

    WordsData record;
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
    const auto nAltWords = static_cast<int32_t>(record.vwsAltWords.size());
    m_vWordsData.push_back(std::move(record));
    m_nTotalCountAltWords += nAltWords;
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace verbaro
