#pragma once
// M4A and AAC recordings decoded to 16-bit PCM with FFmpeg's libraries: only the MP4 and ADTS
// containers and the AAC and ALAC decoders are used, so that no other of FFmpeg's many formats
// is reached through a recording.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "lessonimport/AudioDecode.h"

namespace verbaro::lessonimport {

// As DecodeWithSndfile: one or two channels (more are mixed down to one) at the recording's own
// rate, at most kMaxRecordingSeconds, decoding stopped at the limit.
std::optional<lesson::Pcm> DecodeMpeg4(std::span<const uint8_t> bytes, AudioFailure& failure,
                                       std::string& error);

}  // namespace verbaro::lessonimport
