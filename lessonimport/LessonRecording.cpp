#include "lessonimport/LessonRecording.h"

#include "data/Mp3Decoder.h"
#include "lessonimport/AudioDecode.h"
#include "lessonimport/Mpeg4Decode.h"
#include "tools/Mp3Encode.h"

namespace verbaro::lessonimport {
namespace {

bool HasMp3Extension(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view tail = name.substr(name.size() - 4);
  return tail[0] == '.' && (tail[1] | 0x20) == 'm' && (tail[2] | 0x20) == 'p' && tail[3] == '3';
}

// The trainer plays any MP3 its decoder gets sound out of within the player's limit; such a
// recording is kept byte for byte. Nothing, with the reason in `error`, otherwise.
std::optional<LessonRecording> KeepPlayableMp3(std::span<const uint8_t> bytes,
                                               AudioFailure& failure, std::string& error) {
  const DecodedPcm decoded = DecodeMp3(bytes.data(), bytes.size(), kMaxRecordingPcmBytes);
  if (decoded.status == DecodedPcm::Status::kNoMemory) {
    failure = AudioFailure::TooLong;
    error = DescribeTooLong();
    return std::nullopt;
  }
  if (decoded.status != DecodedPcm::Status::kOk) {
    failure = AudioFailure::Unrecognised;
    error = "MP3 не декодируется";
    return std::nullopt;
  }
  failure = AudioFailure::None;
  return LessonRecording{{bytes.begin(), bytes.end()}, false};
}

std::optional<LessonRecording> Encode(const lesson::Pcm& pcm, std::string& error) {
  std::optional<std::vector<uint8_t>> mp3 = lesson::EncodeLessonMp3(pcm, error);
  if (!mp3) return std::nullopt;
  return LessonRecording{std::move(*mp3), true};
}

}  // namespace

std::optional<LessonRecording> MakeLessonRecording(std::span<const uint8_t> bytes,
                                                   std::string_view name, std::string& error) {
  if (bytes.empty()) {
    error = "файл звука пустой";
    return std::nullopt;
  }
  const AudioKind kind = SniffAudio(bytes);
  const std::string format = DescribeAudio(kind, name);
  AudioFailure failure = AudioFailure::None;
  if (kind == AudioKind::Mpeg4) {
    std::string decodeError;
    if (const std::optional<lesson::Pcm> pcm = DecodeMpeg4(bytes, failure, decodeError))
      return Encode(*pcm, error);
    error = format + ": " + decodeError;
    return std::nullopt;
  }
  if (kind == AudioKind::Mp3) return KeepPlayableMp3(bytes, failure, error);

  // Bytes that announce nothing may still be an MP3 with something before its first frame, as
  // its name says.
  std::string mp3Error;
  if (kind == AudioKind::Unknown && HasMp3Extension(name)) {
    if (std::optional<LessonRecording> kept = KeepPlayableMp3(bytes, failure, mp3Error))
      return kept;
    if (failure == AudioFailure::TooLong) {
      error = std::move(mp3Error);
      return std::nullopt;
    }
  }
  std::string decodeError;
  if (const std::optional<lesson::Pcm> pcm = DecodeWithSndfile(bytes, failure, decodeError))
    return Encode(*pcm, error);
  if (failure != AudioFailure::Unrecognised) error = format + ": " + decodeError;
  else if (!mp3Error.empty()) error = mp3Error;
  else error = "звук не распознан: формат " + format + " не поддерживается";
  return std::nullopt;
}

}  // namespace verbaro::lessonimport
