#include "lessonimport/AudioDecode.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace verbaro::lessonimport {
namespace {

bool StartsWith(std::span<const uint8_t> bytes, size_t at, std::string_view magic) {
  return bytes.size() >= at + magic.size() &&
         std::memcmp(bytes.data() + at, magic.data(), magic.size()) == 0;
}

// An MPEG audio frame header: the 11-bit sync, a layer, and a bit rate and a sample rate that
// are not the reserved values. ADTS (AAC) has the same sync with layer bits 00.
bool IsMpegAudioHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return false;
  const int version = (bytes[1] >> 3) & 3;
  const int layer = (bytes[1] >> 1) & 3;
  const int bitrate = bytes[2] >> 4;
  const int rate = (bytes[2] >> 2) & 3;
  return version != 1 && layer != 0 && bitrate != 15 && rate != 3;
}

bool IsAdtsHeader(std::span<const uint8_t> bytes) {
  return bytes.size() >= 7 && bytes[0] == 0xFF && (bytes[1] & 0xF6) == 0xF0;
}

// The recording's bytes as the file libsndfile reads, without a temporary file.
struct MemoryFile {
  std::span<const uint8_t> bytes;
  sf_count_t position = 0;
};

sf_count_t Length(void* data) {
  return static_cast<sf_count_t>(static_cast<MemoryFile*>(data)->bytes.size());
}

sf_count_t Seek(sf_count_t offset, int whence, void* data) {
  auto* file = static_cast<MemoryFile*>(data);
  const auto size = static_cast<sf_count_t>(file->bytes.size());
  sf_count_t base = 0;
  if (whence == SEEK_CUR) base = file->position;
  else if (whence == SEEK_END) base = size;
  else if (whence != SEEK_SET) return -1;
  const sf_count_t target = base + offset;
  if (target < 0 || target > size) return -1;
  file->position = target;
  return target;
}

sf_count_t Read(void* buffer, sf_count_t count, void* data) {
  auto* file = static_cast<MemoryFile*>(data);
  const auto size = static_cast<sf_count_t>(file->bytes.size());
  const sf_count_t n =
      std::clamp<sf_count_t>(size - file->position, 0, std::max<sf_count_t>(count, 0));
  if (n > 0) std::memcpy(buffer, file->bytes.data() + file->position, static_cast<size_t>(n));
  file->position += n;
  return n;
}

sf_count_t Write(const void*, sf_count_t, void*) { return 0; }

sf_count_t Tell(void* data) { return static_cast<MemoryFile*>(data)->position; }

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using Sndfile = std::unique_ptr<SNDFILE, SndfileCloser>;

int16_t ToSample(float value) {
  // Floating-point sound beyond full scale is clipped, not wrapped round.
  const float scaled = std::clamp(value, -1.0f, 1.0f) * 32767.0f;
  return static_cast<int16_t>(std::lrint(scaled));
}

// Appends `count` frames of `channels` channels (read as floats, so that integer and
// floating-point files come out at the same scale), mixed down to mono when there are more
// than two.
void AppendFrames(const std::vector<float>& chunk, size_t count, int channels, lesson::Pcm& pcm) {
  const auto width = static_cast<size_t>(channels);
  if (channels <= 2) {
    for (size_t i = 0; i < count * width; ++i) pcm.samples.push_back(ToSample(chunk[i]));
    return;
  }
  for (size_t frame = 0; frame < count; ++frame) {
    float sum = 0;
    for (size_t c = 0; c < width; ++c) sum += chunk[frame * width + c];
    pcm.samples.push_back(ToSample(sum / static_cast<float>(channels)));
  }
}

}  // namespace

AudioKind SniffAudio(std::span<const uint8_t> bytes) {
  if (StartsWith(bytes, 0, "ID3") || IsMpegAudioHeader(bytes)) return AudioKind::Mp3;
  if ((StartsWith(bytes, 0, "RIFF") || StartsWith(bytes, 0, "RF64")) &&
      StartsWith(bytes, 8, "WAVE"))
    return AudioKind::Wave;
  if (StartsWith(bytes, 0, "riff")) return AudioKind::Wave;  // Wave64
  if (StartsWith(bytes, 0, "fLaC")) return AudioKind::Flac;
  if (StartsWith(bytes, 0, "OggS")) return AudioKind::Ogg;
  if (StartsWith(bytes, 0, "FORM") &&
      (StartsWith(bytes, 8, "AIFF") || StartsWith(bytes, 8, "AIFC")))
    return AudioKind::Aiff;
  if (StartsWith(bytes, 4, "ftyp") || IsAdtsHeader(bytes)) return AudioKind::Mpeg4;
  return AudioKind::Unknown;
}

std::string DescribeAudio(AudioKind kind, std::string_view name) {
  switch (kind) {
    case AudioKind::Mp3: return "MP3";
    case AudioKind::Wave: return "WAV";
    case AudioKind::Flac: return "FLAC";
    case AudioKind::Ogg: return "Ogg";
    case AudioKind::Aiff: return "AIFF";
    case AudioKind::Mpeg4: return "M4A/AAC";
    case AudioKind::Unknown: break;
  }
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == name.size() || name.size() - dot > 6)
    return "неизвестный";
  std::string extension(name.substr(dot + 1));
  for (char& c : extension) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return extension;
}

std::string DescribeTooLong() {
  return "запись длиннее " + std::to_string(kMaxRecordingSeconds / 60) +
         " минут: тренажёр столько не играет";
}

std::optional<lesson::Pcm> DecodeWithSndfile(std::span<const uint8_t> bytes, AudioFailure& failure,
                                             std::string& error) {
  failure = AudioFailure::Other;
  SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
  MemoryFile file{bytes};
  SF_INFO info{};
  Sndfile sound(sf_open_virtual(&io, SFM_READ, &info, &file));
  if (!sound) {
    failure = AudioFailure::Unrecognised;
    error = "звук не распознан";
    return std::nullopt;
  }
  if (info.channels < 1 || info.samplerate <= 0) {
    error = "в записи нет звука";
    return std::nullopt;
  }
  if (info.samplerate < kMinSourceRate || info.samplerate > kMaxSourceRate) {
    error = "частота " + std::to_string(info.samplerate) + " Гц не поддерживается";
    return std::nullopt;
  }
  const sf_count_t maxFrames = sf_count_t{info.samplerate} * kMaxRecordingSeconds;
  // A declared length over the limit is refused unread; a false one is caught while reading.
  if (info.frames > maxFrames && info.frames != SF_COUNT_MAX) {
    failure = AudioFailure::TooLong;
    error = DescribeTooLong();
    return std::nullopt;
  }

  lesson::Pcm pcm;
  pcm.rate = info.samplerate;
  pcm.channels = info.channels == 2 ? 2 : 1;
  constexpr sf_count_t kChunkFrames = 4096;
  try {
    std::vector<float> chunk(static_cast<size_t>(kChunkFrames) *
                             static_cast<size_t>(info.channels));
    sf_count_t total = 0;
    for (;;) {
      const sf_count_t read = sf_readf_float(sound.get(), chunk.data(), kChunkFrames);
      if (read <= 0) break;
      total += read;
      if (total > maxFrames) {
        failure = AudioFailure::TooLong;
        error = DescribeTooLong();
        return std::nullopt;
      }
      AppendFrames(chunk, static_cast<size_t>(read), info.channels, pcm);
    }
  } catch (const std::bad_alloc&) {
    error = "не хватает памяти для звука";
    return std::nullopt;
  }
  if (sf_error(sound.get()) != SF_ERR_NO_ERROR && pcm.samples.empty()) {
    error = std::string("звук не декодируется: ") + sf_strerror(sound.get());
    return std::nullopt;
  }
  if (pcm.samples.empty()) {
    error = "в записи нет звука";
    return std::nullopt;
  }
  failure = AudioFailure::None;
  return pcm;
}

}  // namespace verbaro::lessonimport
