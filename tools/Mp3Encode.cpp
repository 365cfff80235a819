#include "tools/Mp3Encode.h"

#include <lame.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace verbaro::lesson {
namespace {

struct LameDeleter {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using Lame = std::unique_ptr<lame_global_flags, LameDeleter>;

constexpr int kLessonRate = 44100;
constexpr size_t kChunkFrames = 4096;

// LAME's own bound for the output of one call: 1.25 x samples + 7200 bytes.
size_t OutputBound(size_t frames) { return frames + frames / 4 + 7200; }

}  // namespace

std::optional<std::vector<uint8_t>> EncodeLessonMp3(const Pcm& pcm, std::string& error) {
  if (pcm.channels != 1 && pcm.channels != 2) {
    error = "звук должен быть моно или стерео";
    return std::nullopt;
  }
  Lame lame(lame_init());
  if (!lame) {
    error = "LAME не запускается";
    return std::nullopt;
  }
  lame_set_in_samplerate(lame.get(), static_cast<int>(pcm.rate));
  lame_set_num_channels(lame.get(), 2);
  lame_set_out_samplerate(lame.get(), kLessonRate);
  lame_set_mode(lame.get(), JOINT_STEREO);
  lame_set_VBR(lame.get(), vbr_off);
  lame_set_brate(lame.get(), kLessonBitrateKbps);
  lame_set_quality(lame.get(), 2);
  // The Info frame tells decoders the encoder delay and padding, so none of it is heard.
  lame_set_bWriteVbrTag(lame.get(), 1);
  if (lame_init_params(lame.get()) < 0) {
    error = "LAME не принимает частоту " + std::to_string(pcm.rate) + " Гц";
    return std::nullopt;
  }

  std::vector<uint8_t> mp3;
  std::vector<uint8_t> chunk(OutputBound(kChunkFrames));
  std::vector<int16_t> left(kChunkFrames);
  std::vector<int16_t> right(kChunkFrames);
  const size_t frames = pcm.Frames();
  for (size_t first = 0; first < frames; first += kChunkFrames) {
    const size_t count = std::min(kChunkFrames, frames - first);
    for (size_t i = 0; i < count; ++i) {
      const size_t at = (first + i) * static_cast<size_t>(pcm.channels);
      left[i] = pcm.samples[at];
      right[i] = pcm.channels == 2 ? pcm.samples[at + 1] : pcm.samples[at];
    }
    const int written =
        lame_encode_buffer(lame.get(), left.data(), right.data(), static_cast<int>(count),
                           chunk.data(), static_cast<int>(chunk.size()));
    if (written < 0) {
      error = "LAME: ошибка кодирования (" + std::to_string(written) + ")";
      return std::nullopt;
    }
    mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + written);
  }
  const int flushed = lame_encode_flush(lame.get(), chunk.data(), static_cast<int>(chunk.size()));
  if (flushed < 0) {
    error = "LAME: ошибка завершения кодирования (" + std::to_string(flushed) + ")";
    return std::nullopt;
  }
  mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + flushed);

  // The stream begins with a placeholder frame of the Info frame's size; fill it in.
  std::vector<uint8_t> tag(OutputBound(1152));
  const size_t tagSize = lame_get_lametag_frame(lame.get(), tag.data(), tag.size());
  if (tagSize > 0 && tagSize <= mp3.size()) std::memcpy(mp3.data(), tag.data(), tagSize);
  return mp3;
}

}  // namespace verbaro::lesson
