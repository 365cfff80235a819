#pragma once
// The recordings of an open lesson. The lesson's read-only connection stays open as long as any
// record refers to one of its recordings, and each recording is read through it when it is
// sounded. On Linux the open file keeps the lesson that was opened readable even when the file is
// replaced (a rebuild writes a new file and renames it over the old one) or deleted meanwhile.
#include <cstdint>
#include <optional>
#include <vector>

#include "data/Mp3Recording.h"

struct sqlite3;
struct sqlite3_blob;

namespace verbaro {

class LessonRecordings final : public RecordingSource {
 public:
  // Takes over the open connection `db`.
  explicit LessonRecordings(sqlite3* db);
  ~LessonRecordings() override;
  LessonRecordings(const LessonRecordings&) = delete;
  LessonRecordings& operator=(const LessonRecordings&) = delete;

  sqlite3* Connection() const { return m_db; }

  // The size of the recording of row nRow (column Mp3Word of rowid nRow), learnt from the row's
  // header without reading the recording: nothing when it could not be read (no such rowid, a
  // NULL or numeric value, no column Mp3Word, a damaged row), or when the recordings probed so
  // far would together be larger than the file that stores them. Probing successive rows keeps
  // one handle open; EndProbing lets it go, so that no read lock outlives the opening.
  std::optional<int32_t> Probe(int32_t nRow);
  void EndProbing();

  // The bytes of the recording of row nRow; nothing when they cannot be read now (the file was
  // damaged or cut since it was opened). Each read opens and closes its own handle.
  std::optional<std::vector<uint8_t>> Read(int32_t nRow) override;

 private:
  sqlite3* m_db;
  sqlite3_blob* m_probe = nullptr;
  std::optional<int64_t> m_storedBytes;  // of the database, when probing began
  int64_t m_probedBytes = 0;
};

}  // namespace verbaro
