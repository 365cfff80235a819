// Recordings from other programs' files: any bytes under each name a source may give them. The
// last byte picks the name (so that a real file with one byte added is a seed), and the MP3
// fallback for bytes that announce nothing is reached too. A recording that comes out is either
// the given bytes or in the lesson's format, and it plays.
#include <algorithm>
#include <array>
#include <span>

#include "fuzz/FuzzChecks.h"
#include "lessonimport/LessonRecording.h"
#include "tools/Mp3Inspect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace verbaro;
  using fuzz::Require;
  static constexpr std::array<const char*, 4> kNames = {"word.mp3", "word.ogg", "word.m4a", "word"};
  if (size == 0) return 0;
  const std::span<const uint8_t> bytes(data, size - 1);
  std::string error;
  const auto recording =
      lessonimport::MakeLessonRecording(bytes, kNames[data[size - 1] % kNames.size()], error);
  if (!recording) {
    Require(!error.empty(), "a refused recording says why");
    return 0;
  }
  const lesson::Mp3Stream stream = lesson::InspectMp3(recording->mp3);
  Require(stream.decodable, "the recording plays");
  if (recording->converted)
    Require(lesson::IsLessonFormat(stream), "a converted recording is in the lesson's format");
  else
    Require(recording->mp3.size() == bytes.size() &&
                std::equal(bytes.begin(), bytes.end(), recording->mp3.begin()),
            "a kept recording is the given bytes");
  return 0;
}
