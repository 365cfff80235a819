#include "tools/Mp3Decode.h"

#include <mpg123.h>

#include <array>
#include <memory>

namespace verbaro::lesson {
namespace {

struct HandleDeleter {
  void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};
using Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

int VersionNumber(int version) {
  switch (version) {
    case MPG123_1_0: return 1;
    case MPG123_2_0: return 2;
    case MPG123_2_5: return 25;
    default: return 0;
  }
}

// Any rate, mono or stereo, always as signed 16-bit samples.
void AcceptEveryRate(mpg123_handle* handle) {
  mpg123_format_none(handle);
  const long* rates = nullptr;
  size_t count = 0;
  mpg123_rates(&rates, &count);
  for (size_t i = 0; i < count; ++i)
    mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
}

}  // namespace

Mp3Stream DecodeMp3(std::span<const uint8_t> bytes, bool keepPcm) {
  Mp3Stream stream;
  if (bytes.empty()) {
    stream.error = "пустые данные";
    return stream;
  }
  // Needed by libmpg123 before 1.27, harmless after.
  static const int initialised = mpg123_init();
  if (initialised != MPG123_OK) {
    stream.error = "libmpg123 не запускается";
    return stream;
  }

  int status = MPG123_OK;
  Handle handle(mpg123_new(nullptr, &status));
  if (!handle) {
    stream.error = "libmpg123 не создаёт декодер";
    return stream;
  }
  mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
  AcceptEveryRate(handle.get());
  if (mpg123_open_feed(handle.get()) != MPG123_OK ||
      mpg123_feed(handle.get(), bytes.data(), bytes.size()) != MPG123_OK) {
    stream.error = "libmpg123 не принимает данные";
    return stream;
  }

  std::array<int16_t, 8192> buffer{};
  bool failed = false;
  while (true) {
    size_t done = 0;
    const int result = mpg123_read(handle.get(), buffer.data(), sizeof(buffer), &done);
    if (result == MPG123_NEW_FORMAT) {
      long rate = 0;
      int channels = 0;
      int encoding = 0;
      mpg123_getformat(handle.get(), &rate, &channels, &encoding);
      if (stream.frames > 0 && (rate != stream.rate || channels != stream.channels)) {
        stream.error = "формат меняется посреди записи";
        failed = true;
        break;
      }
      stream.rate = rate;
      stream.channels = channels;
      mpg123_frameinfo2 info{};
      if (mpg123_info2(handle.get(), &info) == MPG123_OK) {
        stream.mpegVersion = VersionNumber(info.version);
        stream.layer = info.layer;
      }
    }
    const size_t samples = done / sizeof(int16_t);
    if (stream.channels > 0) stream.frames += samples / static_cast<size_t>(stream.channels);
    if (keepPcm)
      stream.pcm.samples.insert(stream.pcm.samples.end(), buffer.begin(),
                                buffer.begin() + static_cast<std::ptrdiff_t>(samples));
    if (result == MPG123_OK || result == MPG123_NEW_FORMAT) continue;
    if (result == MPG123_NEED_MORE || result == MPG123_DONE) break;
    stream.error = std::string("ошибка декодера: ") + mpg123_strerror(handle.get());
    failed = true;
    break;
  }

  if (!failed && stream.frames == 0) stream.error = "нет ни одного кадра MP3";
  stream.decodable = !failed && stream.frames > 0;
  stream.pcm.rate = stream.rate;
  stream.pcm.channels = stream.channels;
  return stream;
}

bool IsLessonFormat(const Mp3Stream& stream) {
  return stream.decodable && stream.mpegVersion == 1 && stream.layer == 3 &&
         stream.rate == 44100 && stream.channels == 2;
}

}  // namespace verbaro::lesson
