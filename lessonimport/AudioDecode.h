#pragma once
// Recordings that are not MP3 (WAV, FLAC, Ogg Vorbis, Opus, AIFF...) decoded to 16-bit PCM with
// libsndfile, and the kind of audio a recording's first bytes announce. M4A and AAC are decoded
// in Mpeg4Decode.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/Pcm.h"

namespace verbaro::lessonimport {

// What the first bytes of a recording say it is.
enum class AudioKind {
  Mp3,   // an ID3 tag or an MPEG audio frame header at the start
  Wave,  // RIFF/WAVE, RF64, Wave64
  Flac,
  Ogg,  // Vorbis or Opus, told apart by the decoder
  Aiff,
  Mpeg4,    // M4A (AAC or ALAC in an MP4 container) or an ADTS stream of AAC
  Unknown,  // none of these: the decoders are tried in turn
};

AudioKind SniffAudio(std::span<const uint8_t> bytes);

// "M4A", "WAV"... for messages; the file name's extension when the bytes say nothing.
std::string DescribeAudio(AudioKind kind, std::string_view name);

// The most sound a recording may hold: what the trainer's player plays.
inline constexpr long kMaxRecordingSeconds = 600;
// Rates LAME converts to the lesson's 44.1 kHz with its own resampler.
inline constexpr long kMinSourceRate = 8000;
inline constexpr long kMaxSourceRate = 192000;

// Why a recording gives no sound.
enum class AudioFailure { None, Unrecognised, TooLong, Other };

// "запись длиннее 10 минут...": the message for a recording over kMaxRecordingSeconds.
std::string DescribeTooLong();

// The sound of the bytes as 16-bit PCM in one or two channels (more channels are mixed down to
// one), at the recording's own rate. Nothing, with `error` set (Russian), when libsndfile cannot
// read it, it holds no sound, its rate is out of range, or it is longer than
// kMaxRecordingSeconds (`failure` says which): decoding stops there, so a small file that unpacks
// to hours of sound costs no more than the limit.
std::optional<lesson::Pcm> DecodeWithSndfile(std::span<const uint8_t> bytes, AudioFailure& failure,
                                             std::string& error);

}  // namespace verbaro::lessonimport
