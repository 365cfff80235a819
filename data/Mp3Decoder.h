#pragma once
// Decodes an MP3 recording held in memory to interleaved 16-bit PCM at 44 100 Hz, 2 channels,
// whatever the recording's own rate and channel count. The whole stream is decoded; the
// encoder's delay and padding are removed when the recording declares them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace verbaro {

inline constexpr int kPcmBitsPerSample = 16;
inline constexpr int kPcmSamplesPerSecond = 44100;
inline constexpr int kPcmChannels = 2;
inline constexpr uint32_t kPcmBlockAlign = kPcmBitsPerSample * kPcmChannels / 8;
inline constexpr uint32_t kPcmAvgBytesPerSec =
    kPcmBitsPerSample * kPcmSamplesPerSecond * kPcmChannels / 8;
// Ten minutes of sound: far beyond any word or phrase, and a bound on what a damaged recording
// can make the decoder allocate. The trainer's player refuses a recording that decodes to more,
// so the lesson tool takes such a recording as undecodable too.
inline constexpr size_t kMaxRecordingPcmBytes = size_t{kPcmAvgBytesPerSec} * 600;

struct DecodedPcm {
  enum class Status {
    kOk,
    kUndecodable,  // no MP3 frame could be decoded from the bytes
    kNoMemory,     // the PCM would exceed the allowed size, or memory ran out
  };
  Status status = Status::kUndecodable;
  std::vector<uint8_t> pcm;  // whole sample frames only
  uint32_t frames = 0;       // sample frames (one sample per channel) in pcm
};

// maxPcmBytes bounds the PCM a damaged or hostile recording can make the decoder produce.
DecodedPcm DecodeMp3(const uint8_t* mp3, size_t size, size_t maxPcmBytes);

// The format a recording is stored in, read from its first MPEG frame: mpegVersion is 1, 2 or
// 25 (MPEG-2.5), 0 when no frame can be read.
struct Mp3Format {
  int mpegVersion = 0;
  int layer = 0;
  long rate = 0;
  int channels = 0;
};
Mp3Format ReadMp3Format(const uint8_t* mp3, size_t size);

}  // namespace verbaro
