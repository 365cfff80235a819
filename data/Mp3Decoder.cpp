#include "data/Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

namespace verbaro {
namespace {

// The recording's bytes seen by libmpg123 as a seekable file, so that no temporary file is needed
// and the decoder can read the encoder's gapless information and reach the end of the stream.
struct MemoryStream {
  const uint8_t* data;
  size_t size;
  size_t position = 0;
};

mpg123_ssize_t ReadMemory(void* handle, void* buffer, size_t bytes) {
  auto* stream = static_cast<MemoryStream*>(handle);
  const size_t count = std::min(bytes, stream->size - stream->position);
  if (count) std::memcpy(buffer, stream->data + stream->position, count);
  stream->position += count;
  return static_cast<mpg123_ssize_t>(count);
}

off_t SeekMemory(void* handle, off_t offset, int whence) {
  auto* stream = static_cast<MemoryStream*>(handle);
  off_t base = 0;
  switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<off_t>(stream->position); break;
    case SEEK_END: base = static_cast<off_t>(stream->size); break;
    default: return -1;
  }
  const off_t target = base + offset;
  if (target < 0 || target > static_cast<off_t>(stream->size)) return -1;
  stream->position = static_cast<size_t>(target);
  return target;
}

struct HandleCloser {
  void operator()(mpg123_handle* handle) const {
    mpg123_close(handle);
    mpg123_delete(handle);
  }
};
using Handle = std::unique_ptr<mpg123_handle, HandleCloser>;

void InitialiseLibraryOnce() {
  // Required before libmpg123 1.27, harmless after; a function-local static runs it once.
  static const int result = mpg123_init();
  (void)result;
}

// A handle that decodes to 44.1 kHz stereo 16-bit only: mono is duplicated to both channels and
// other rates are resampled by the decoder's own synthesis.
Handle OpenDecoder(MemoryStream& stream, DecodedPcm::Status& failure) {
  InitialiseLibraryOnce();
  int error = MPG123_OK;
  Handle handle(mpg123_new(nullptr, &error));
  if (!handle) {
    failure = error == MPG123_OUT_OF_MEM ? DecodedPcm::Status::kNoMemory
                                         : DecodedPcm::Status::kUndecodable;
    return nullptr;
  }
  failure = DecodedPcm::Status::kUndecodable;
  if (mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO, 0) ||
      mpg123_param(handle.get(), MPG123_FORCE_RATE, kPcmSamplesPerSecond, 0) ||
      mpg123_format_none(handle.get()) ||
      mpg123_format(handle.get(), kPcmSamplesPerSecond, MPG123_STEREO, MPG123_ENC_SIGNED_16) ||
      mpg123_replace_reader_handle(handle.get(), ReadMemory, SeekMemory, nullptr) ||
      mpg123_open_handle(handle.get(), &stream)) {
    return nullptr;
  }
  return handle;
}

bool IsOutputFormat(mpg123_handle* handle) {
  long rate = 0;
  int channels = 0, encoding = 0;
  return mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK &&
         rate == kPcmSamplesPerSecond && channels == kPcmChannels &&
         encoding == MPG123_ENC_SIGNED_16;
}

}  // namespace

DecodedPcm DecodeMp3(const uint8_t* mp3, size_t size, size_t maxPcmBytes) {
  DecodedPcm result;
  if (!mp3 || size == 0) return result;

  MemoryStream stream{mp3, size};
  DecodedPcm::Status failure = DecodedPcm::Status::kUndecodable;
  Handle handle = OpenDecoder(stream, failure);
  if (!handle) {
    result.status = failure;
    return result;
  }

  try {
    // Room for the whole stream when the decoder can tell its length (from the encoder's header),
    // so that the PCM is decoded straight into its place without regrowing the buffer.
    const off_t declaredFrames = mpg123_length(handle.get());
    if (declaredFrames > 0) {
      const uint64_t declaredBytes = static_cast<uint64_t>(declaredFrames) * kPcmBlockAlign;
      result.pcm.reserve(static_cast<size_t>(std::min<uint64_t>(declaredBytes, maxPcmBytes)));
    }
    constexpr size_t kChunk = 16384;
    // Reads that make no progress are bounded, so that no input can keep the loop spinning.
    int idleReads = 0;
    for (;;) {
      const size_t filled = result.pcm.size();
      result.pcm.resize(filled + kChunk);
      size_t done = 0;
      const int code = mpg123_read(handle.get(), result.pcm.data() + filled, kChunk, &done);
      result.pcm.resize(filled + done);
      if (code == MPG123_NEW_FORMAT && !IsOutputFormat(handle.get())) return {};
      if (result.pcm.size() > maxPcmBytes) {
        result.pcm = {};
        result.status = DecodedPcm::Status::kNoMemory;
        return result;
      }
      // Anything but more data ends the stream: its end, or damage the decoder cannot skip.
      // What was decoded before the damage is kept.
      if (code != MPG123_OK && code != MPG123_NEW_FORMAT) break;
      idleReads = done ? 0 : idleReads + 1;
      if (idleReads > 64) break;
    }
  } catch (const std::bad_alloc&) {
    result.pcm = {};
    result.status = DecodedPcm::Status::kNoMemory;
    return result;
  }

  result.pcm.resize(result.pcm.size() / kPcmBlockAlign * kPcmBlockAlign);
  result.frames = static_cast<uint32_t>(result.pcm.size() / kPcmBlockAlign);
  result.status = result.frames ? DecodedPcm::Status::kOk : DecodedPcm::Status::kUndecodable;
  return result;
}

Mp3Format ReadMp3Format(const uint8_t* mp3, size_t size) {
  Mp3Format format;
  if (!mp3 || size == 0) return format;
  InitialiseLibraryOnce();
  MemoryStream stream{mp3, size};
  int error = MPG123_OK;
  Handle handle(mpg123_new(nullptr, &error));
  long rate = 0;
  int channels = 0, encoding = 0;
  mpg123_frameinfo info{};
  if (!handle || mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0) ||
      mpg123_replace_reader_handle(handle.get(), ReadMemory, SeekMemory, nullptr) ||
      mpg123_open_handle(handle.get(), &stream) ||
      mpg123_getformat(handle.get(), &rate, &channels, &encoding) != MPG123_OK ||
      mpg123_info(handle.get(), &info) != MPG123_OK) {
    return format;
  }
  switch (info.version) {
    case MPG123_1_0: format.mpegVersion = 1; break;
    case MPG123_2_0: format.mpegVersion = 2; break;
    case MPG123_2_5: format.mpegVersion = 25; break;
  }
  format.layer = info.layer;
  format.rate = rate;
  format.channels = channels;
  return format;
}

}  // namespace verbaro
