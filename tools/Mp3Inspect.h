#pragma once
// What the lesson tool needs to know of an MP3 recording, read with the trainer's own decoder
// from the core: whether it plays, the format it is stored in, and its sound.
#include <cstdint>
#include <span>
#include <string>

#include "tools/Pcm.h"

namespace verbaro::lesson {

struct Mp3Stream {
  bool decodable = false;  // the trainer's decoder gets sound out of it
  std::string error;       // why not, in Russian
  int mpegVersion = 0;     // as stored: 1 for MPEG-1, 2 for MPEG-2, 25 for MPEG-2.5
  int layer = 0;
  long rate = 0;
  int channels = 0;
  size_t frames = 0;  // sample frames of the decoded sound at 44.1 kHz
  Pcm pcm;            // the decoded sound (44.1 kHz stereo), when asked for
};

// Decodes the whole stream as the trainer would play it; keeps the sound only when `keepPcm`.
Mp3Stream InspectMp3(std::span<const uint8_t> bytes, bool keepPcm = false);

// The format lessons store: MPEG-1 Layer III, 44.1 kHz, two channels.
bool IsLessonFormat(const Mp3Stream& stream);

}  // namespace verbaro::lesson
