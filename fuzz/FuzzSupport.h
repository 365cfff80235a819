#pragma once
// What the fuzz targets share: an offscreen Qt application made once per process, a scratch
// folder removed at exit, lesson files written from rows, a menu bar laid out as the frame's,
// and a reader that takes an input's bytes from the front (so that seeds can be written by hand).
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lessonwriter/LessonWriter.h"

namespace verbaro::fuzz {

// Qt on the offscreen platform, with the built-in resources; made on the first call.
void EnsureApplication();

// A folder of this process under the system's temporary folder, removed when the process ends.
const std::string& ScratchFolder();

// The scratch folder as the current folder while it lives, so that views find the tiny pictures
// of its Res/ folder; the folder before is restored (libFuzzer reads its corpus paths from it).
class InScratchFolder {
 public:
  InScratchFolder();
  ~InScratchFolder();
  InScratchFolder(const InScratchFolder&) = delete;
  InScratchFolder& operator=(const InScratchFolder&) = delete;

 private:
  QString m_saved;
};

void WriteFileBytes(const std::string& path, const uint8_t* data, size_t size);

using BlobKind = lesson::RecordingKind;

// One row of the lesson table FrRuDict.
struct LessonRow {
  int64_t rowid = 0;  // 0: the row's place in the list, from 1
  std::u16string gram, number, key, info1, info2, info3;
  std::vector<std::u16string> translations;  // up to five; the other columns stay NULL
  BlobKind blobKind = BlobKind::Bytes;
  std::vector<uint8_t> blob;
};

// Writes a lesson file (replacing an old one) with the usual fourteen columns, or with only the
// first `columns` of them when that is less (a damaged or foreign table). False on SQLite errors.
bool WriteLesson(const std::string& path, const std::vector<LessonRow>& rows, int columns = 14);

// Reads an input from the front; past its end every read gives 0.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  bool Empty() const { return m_position >= m_size; }
  size_t Remaining() const { return Empty() ? 0 : m_size - m_position; }
  uint8_t Byte() { return Empty() ? 0 : m_data[m_position++]; }
  uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
  // Up to `limit` bytes, the count given by the next byte.
  std::vector<uint8_t> Bytes(size_t limit);
  // A short text: one byte picks from `pool` or, past its end, spells a text of its own from
  // the bytes that follow (UTF-8 where they are valid).
  std::u16string Text(const std::vector<std::u16string>& pool);

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_position = 0;
};

}  // namespace verbaro::fuzz
