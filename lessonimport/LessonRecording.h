#pragma once
// A recording from elsewhere in the form a lesson keeps: an MP3 that the trainer plays is kept
// byte for byte; other audio (WAV, FLAC, Ogg Vorbis, Opus...) is decoded and encoded to the
// lesson's MP3 format.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace verbaro::lessonimport {

struct LessonRecording {
  std::vector<uint8_t> mp3;
  bool converted = false;  // false: the given bytes as they were
};

// `name` (the file name the source gave) helps to recognise the format; the bytes decide. Nothing,
// with `error` set (Russian, without the entry's place), when the audio cannot be decoded or is
// longer than the trainer plays.
std::optional<LessonRecording> MakeLessonRecording(std::span<const uint8_t> bytes,
                                                   std::string_view name, std::string& error);

}  // namespace verbaro::lessonimport
