#pragma once
// The lessons the benchmarks read: the starter lesson shipped with the program, and a large
// lesson generated from it in a temporary folder.
#include <cstdint>
#include <string>
#include <vector>

namespace verbaro::bench {

// lessons/01-premiers-mots.db of the source tree.
std::string StarterLessonPath();

// A lesson of `rows` rows made by repeating the starter lesson's rows: every repetition after
// the first adds " <n>" to the word and to each translation, so words stay distinct and no
// translation gathers more words than in the starter lesson. Recordings, grammar and number
// codes are the starter lesson's. Written once per process under the temporary folder; empty
// on failure.
std::string GeneratedLessonPath(int rows);
// The same rows, but every recording is `recordingBytes` bytes of random data instead of the
// starter recording (the reader copies recordings without decoding them).
std::string GeneratedLessonPath(int rows, int recordingBytes);

// The large lesson of the benchmarks: 5 000 rows generated as above.
inline constexpr int kLargeLessonRows = 5000;
inline std::string LargeLessonPath() { return GeneratedLessonPath(kLargeLessonRows); }

// The lesson of the reading figures: 10 000 rows with 8 KB recordings.
inline constexpr int kReadingLessonRows = 10000;
inline constexpr int kReadingRecordingBytes = 8 * 1024;
inline std::string ReadingLessonPath() {
  return GeneratedLessonPath(kReadingLessonRows, kReadingRecordingBytes);
}

// The same lesson kept between runs in the benchmarks' cache folder (VERBARO_BENCH_CACHE, under
// the build folder): generated on first use, to a temporary name renamed when complete, and
// reused afterwards. Large lessons take minutes of disk time to write.
std::string CachedLessonPath(int rows, int recordingBytes);

// The recording of one row (by rowid) of a lesson file; empty when it cannot be read.
std::vector<uint8_t> ReadRecording(const std::string& lessonPath, int rowid);
// The rowid of the lesson's longest recording; 0 when there is none.
int LongestRecordingRow(const std::string& lessonPath);

// Size of a file in bytes; 0 when missing.
int64_t FileBytes(const std::string& path);

}  // namespace verbaro::bench
