#pragma once
// Reading an MP3 held in memory with libmpg123, the decoder the trainer plays lessons with.
#include <cstdint>
#include <span>
#include <string>

#include "tools/Pcm.h"

namespace verbaro::lesson {

struct Mp3Stream {
  bool decodable = false;  // at least one sample came out and the decoder reported no error
  std::string error;       // why not, in Russian
  int mpegVersion = 0;     // 1 for MPEG-1, 2 for MPEG-2, 25 for MPEG-2.5
  int layer = 0;
  long rate = 0;
  int channels = 0;
  size_t frames = 0;       // decoded samples per channel
  Pcm pcm;                 // the decoded sound, when asked for, at the stream's own format
};

// Decodes the whole stream; keeps the sound only when `keepPcm`, so that checking a large
// recording costs no memory.
Mp3Stream DecodeMp3(std::span<const uint8_t> bytes, bool keepPcm = false);

// The format lessons store: MPEG-1 Layer III, 44.1 kHz, two channels.
bool IsLessonFormat(const Mp3Stream& stream);

}  // namespace verbaro::lesson
