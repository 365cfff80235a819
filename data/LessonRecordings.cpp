#include "data/LessonRecordings.h"

#include <sqlite3.h>

#include <new>

#include "data/LessonTable.h"
#include "data/UntrustedDatabase.h"

namespace verbaro {

namespace {

// Opens a read-only handle on column Mp3Word of rowid nRow. Only the row's header is parsed,
// so the recording's own pages are not read.
sqlite3_blob* OpenRecording(sqlite3* db, int32_t nRow) {
  sqlite3_blob* blob = nullptr;
  if (sqlite3_blob_open(db, "Main", lesson::kLessonTableName, lesson::kRecordingColumnName, nRow, 0,
                        &blob) != SQLITE_OK) {
    sqlite3_blob_close(blob);  // a failed open may still leave a handle
    return nullptr;
  }
  return blob;
}

}  // namespace

LessonRecordings::LessonRecordings(sqlite3* db) : m_db(db) {}

LessonRecordings::~LessonRecordings() {
  EndProbing();
  sqlite3_close(m_db);
}

std::optional<int32_t> LessonRecordings::Probe(int32_t nRow) {
  // A handle whose move failed is spent; the next row opens a new one.
  if (m_probe && sqlite3_blob_reopen(m_probe, nRow) != SQLITE_OK) EndProbing();
  if (!m_probe) m_probe = OpenRecording(m_db, nRow);
  if (!m_probe) return std::nullopt;
  // Measured once a read has begun, so that a write-ahead log is open and counted.
  if (!m_storedBytes) m_storedBytes = StoredBytes(m_db);
  const int size = sqlite3_blob_bytes(m_probe);
  // Together the recordings cannot be larger than the database that stores them: a damaged or
  // crafted value claiming more (an overflow chain that loops) fails its row, as does a value
  // larger than the connection reads at all.
  if (size < 0 || size > kMaxValueBytes || size > *m_storedBytes - m_probedBytes) {
    return std::nullopt;
  }
  m_probedBytes += size;
  return size;
}

void LessonRecordings::EndProbing() {
  sqlite3_blob_close(m_probe);
  m_probe = nullptr;
}

std::optional<std::vector<uint8_t>> LessonRecordings::Read(int32_t nRow) {
  sqlite3_blob* blob = OpenRecording(m_db, nRow);
  if (!blob) return std::nullopt;
  std::optional<std::vector<uint8_t>> bytes;
  const int size = sqlite3_blob_bytes(blob);
  if (size >= 0 && size <= kMaxValueBytes && size <= StoredBytes(m_db)) {
    try {
      bytes.emplace(static_cast<size_t>(size));
      if (size > 0 && sqlite3_blob_read(blob, bytes->data(), size, 0) != SQLITE_OK) bytes.reset();
    } catch (const std::bad_alloc&) {
      bytes.reset();
    }
  }
  sqlite3_blob_close(blob);
  return bytes;
}

}  // namespace verbaro
