#pragma once
// A reference to one recording of a lesson. The bytes stay where they are stored (the lesson
// file, read through its open connection) until the recording is sounded; copying a record
// copies the reference, never the bytes, so a lesson of any size opens in the time and memory
// of its texts.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace verbaro {

// Where recordings are kept. Read gives the bytes of one recording, or nothing when they can no
// longer be read (the storage was damaged or cut since the lesson was opened).
class RecordingSource {
 public:
  virtual ~RecordingSource() = default;
  virtual std::optional<std::vector<uint8_t>> Read(int32_t key) = 0;
};

class Mp3Recording {
 public:
  Mp3Recording() = default;
  // Recording `key` of `source`, whose stored size is `size` bytes.
  Mp3Recording(std::shared_ptr<RecordingSource> source, int32_t key, int32_t size)
      : m_source(std::move(source)), m_key(key), m_size(size) {}
  // A recording held in memory, for records that come from no lesson file.
  static Mp3Recording Held(std::vector<uint8_t> bytes);

  bool IsNull() const { return m_source == nullptr; }
  explicit operator bool() const { return !IsNull(); }
  // The size the lesson gave when it was opened; reading may find the bytes gone since.
  int32_t Size() const { return m_size; }
  // The bytes, read now; nothing when there is no recording or it cannot be read.
  std::optional<std::vector<uint8_t>> Read() const;

  // The same recording of the same source.
  friend bool operator==(const Mp3Recording&, const Mp3Recording&) = default;

 private:
  std::shared_ptr<RecordingSource> m_source;
  int32_t m_key = 0;
  int32_t m_size = 0;
};

}  // namespace verbaro
