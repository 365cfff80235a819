#pragma once
// Encoding PCM with LAME into the format lessons store: MPEG-1 Layer III, 44.1 kHz, stereo,
// constant bit rate. Mono sound is put on both channels.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/Pcm.h"

namespace verbaro::lesson {

// Speech needs little: 64 kbit/s joint stereo of a mono voice keeps lessons small.
inline constexpr int kLessonBitrateKbps = 64;

// The MP3 bytes, or nothing with `error` set (in Russian).
std::optional<std::vector<uint8_t>> EncodeLessonMp3(const Pcm& pcm, std::string& error);

}  // namespace verbaro::lesson
