#include "tools/Mp3Inspect.h"

#include <cstring>

#include "data/Mp3Decoder.h"

namespace verbaro::lesson {

Mp3Stream InspectMp3(std::span<const uint8_t> bytes, bool keepPcm) {
  Mp3Stream stream;
  // Longer than the trainer's player takes is as good as undecodable: the lesson would not play.
  DecodedPcm decoded = DecodeMp3(bytes.data(), bytes.size(), kMaxRecordingPcmBytes);
  if (decoded.status == DecodedPcm::Status::kNoMemory) {
    stream.error = "звук слишком длинный или не хватает памяти";
    return stream;
  }
  if (decoded.status != DecodedPcm::Status::kOk) {
    stream.error = "ни один кадр MPEG не декодируется";
    return stream;
  }
  const Mp3Format format = ReadMp3Format(bytes.data(), bytes.size());
  stream.decodable = true;
  stream.mpegVersion = format.mpegVersion;
  stream.layer = format.layer;
  stream.rate = format.rate;
  stream.channels = format.channels;
  stream.frames = decoded.frames;
  if (keepPcm) {
    stream.pcm.rate = kPcmSamplesPerSecond;
    stream.pcm.channels = kPcmChannels;
    stream.pcm.samples.resize(decoded.pcm.size() / sizeof(int16_t));
    std::memcpy(stream.pcm.samples.data(), decoded.pcm.data(),
                stream.pcm.samples.size() * sizeof(int16_t));
  }
  return stream;
}

bool IsLessonFormat(const Mp3Stream& stream) {
  return stream.decodable && stream.mpegVersion == 1 && stream.layer == 3 && stream.rate == 44100 &&
         stream.channels == 2;
}

}  // namespace verbaro::lesson
