#include "lessonimport/Mpeg4Decode.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace verbaro::lessonimport {
namespace {

constexpr int kIoBufferSize = 32 * 1024;

// The recording's bytes as the input FFmpeg reads, without a temporary file.
struct MemoryInput {
  std::span<const uint8_t> bytes;
  int64_t position = 0;
};

int ReadInput(void* opaque, uint8_t* buffer, int size) {
  auto* input = static_cast<MemoryInput*>(opaque);
  const auto left = static_cast<int64_t>(input->bytes.size()) - input->position;
  const int count = static_cast<int>(std::clamp<int64_t>(left, 0, size));
  if (count == 0) return AVERROR_EOF;
  std::memcpy(buffer, input->bytes.data() + input->position, static_cast<size_t>(count));
  input->position += count;
  return count;
}

int64_t SeekInput(void* opaque, int64_t offset, int whence) {
  auto* input = static_cast<MemoryInput*>(opaque);
  const auto size = static_cast<int64_t>(input->bytes.size());
  if (whence == AVSEEK_SIZE) return size;
  int64_t base = 0;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = input->position; break;
    case SEEK_END: base = size; break;
    default: return AVERROR(EINVAL);
  }
  const int64_t target = base + offset;
  if (target < 0 || target > size) return AVERROR(EINVAL);
  input->position = target;
  return target;
}

struct IoCloser {
  void operator()(AVIOContext* io) const {
    av_freep(&io->buffer);
    avio_context_free(&io);
  }
};
struct FormatCloser {
  void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecCloser {
  void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct ResamplerCloser {
  void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};
struct PacketCloser {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameCloser {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

// The container by the first bytes: MP4 ("ftyp" box) or an ADTS stream.
const AVInputFormat* ContainerOf(std::span<const uint8_t> bytes) {
  const bool mp4 = bytes.size() >= 8 && std::memcmp(bytes.data() + 4, "ftyp", 4) == 0;
  return av_find_input_format(mp4 ? "mov" : "aac");
}

class Decoder {
 public:
  Decoder(std::span<const uint8_t> bytes, AudioFailure& failure, std::string& error)
      : m_input{bytes}, m_failure(failure), m_error(error) {}
  ~Decoder() { av_channel_layout_uninit(&m_inLayout); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  std::optional<lesson::Pcm> Run() {
    if (!Open() || !OpenCodec()) return std::nullopt;
    std::unique_ptr<AVPacket, PacketCloser> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameCloser> frame(av_frame_alloc());
    if (!packet || !frame) {
      Refuse(AudioFailure::Other, "не хватает памяти для звука");
      return std::nullopt;
    }
    while (av_read_frame(m_format.get(), packet.get()) >= 0) {
      const bool ours = packet->stream_index == m_stream;
      const int sent = ours ? avcodec_send_packet(m_codec.get(), packet.get()) : 0;
      av_packet_unref(packet.get());
      // A damaged packet is skipped, as players do; what decodes is kept.
      if (sent < 0 && sent != AVERROR(EAGAIN)) continue;
      if (ours && !Receive(frame.get())) return std::nullopt;
    }
    avcodec_send_packet(m_codec.get(), nullptr);
    if (!Receive(frame.get())) return std::nullopt;
    if (m_pcm.samples.empty()) {
      Refuse(AudioFailure::Other, "в записи нет звука");
      return std::nullopt;
    }
    m_failure = AudioFailure::None;
    return std::move(m_pcm);
  }

 private:
  bool Refuse(AudioFailure failure, std::string message) {
    m_failure = failure;
    m_error = std::move(message);
    return false;
  }

  bool Open() {
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
    if (!buffer) return Refuse(AudioFailure::Other, "не хватает памяти для звука");
    m_io.reset(
        avio_alloc_context(buffer, kIoBufferSize, 0, &m_input, ReadInput, nullptr, SeekInput));
    if (!m_io) {
      av_free(buffer);
      return Refuse(AudioFailure::Other, "не хватает памяти для звука");
    }
    AVFormatContext* format = avformat_alloc_context();
    if (!format) return Refuse(AudioFailure::Other, "не хватает памяти для звука");
    format->pb = m_io.get();
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&format, nullptr, ContainerOf(m_input.bytes), nullptr) < 0)
      return Refuse(AudioFailure::Unrecognised, "звук не распознан");
    m_format.reset(format);
    if (avformat_find_stream_info(m_format.get(), nullptr) < 0)
      return Refuse(AudioFailure::Other, "звук не декодируется");
    m_stream = av_find_best_stream(m_format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (m_stream < 0) return Refuse(AudioFailure::Other, "в файле нет звука");
    // A declared length over the limit is refused unread; a false one is caught while decoding.
    if (m_format->duration != AV_NOPTS_VALUE &&
        m_format->duration > int64_t{kMaxRecordingSeconds} * AV_TIME_BASE)
      return Refuse(AudioFailure::TooLong, DescribeTooLong());
    return true;
  }

  bool OpenCodec() {
    const AVCodecParameters* parameters = m_format->streams[m_stream]->codecpar;
    if (parameters->codec_id != AV_CODEC_ID_AAC && parameters->codec_id != AV_CODEC_ID_ALAC)
      return Refuse(
          AudioFailure::Other,
          std::string("кодек ") + avcodec_get_name(parameters->codec_id) + " не поддерживается");
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    m_codec.reset(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!m_codec || avcodec_parameters_to_context(m_codec.get(), parameters) < 0 ||
        avcodec_open2(m_codec.get(), codec, nullptr) < 0)
      return Refuse(AudioFailure::Other, "декодер AAC не открывается");
    return true;
  }

  // The resampler for frames like `frame`: only the sample format and the channels change. The
  // first frame fixes the recording's rate and channels; a stream whose frames change their
  // channels or sample format on the way (damaged, or made so) gets a new resampler, one that
  // changes its rate is refused.
  bool ResamplerFor(AVFrame* frame) {
    if (m_resampler && frame->format == m_inFormat && frame->sample_rate == m_pcm.rate &&
        av_channel_layout_compare(&frame->ch_layout, &m_inLayout) == 0)
      return true;
    const int channels = frame->ch_layout.nb_channels;
    if (channels < 1 || frame->format < 0) return Refuse(AudioFailure::Other, "в записи нет звука");
    if (m_pcm.rate == 0) {
      if (frame->sample_rate < kMinSourceRate || frame->sample_rate > kMaxSourceRate)
        return Refuse(AudioFailure::Other,
                      "частота " + std::to_string(frame->sample_rate) + " Гц не поддерживается");
      m_pcm.rate = frame->sample_rate;
      m_pcm.channels = channels == 2 ? 2 : 1;
      m_maxFrames = static_cast<size_t>(m_pcm.rate) * kMaxRecordingSeconds;
    } else if (frame->sample_rate != m_pcm.rate) {
      return Refuse(AudioFailure::Other, "частота звука меняется внутри записи");
    }
    AVChannelLayout out{};
    av_channel_layout_default(&out, m_pcm.channels);
    SwrContext* resampler = nullptr;
    const auto format = static_cast<AVSampleFormat>(frame->format);
    const int rc = swr_alloc_set_opts2(&resampler, &out, AV_SAMPLE_FMT_S16, m_pcm.rate,
                                       &frame->ch_layout, format, m_pcm.rate, 0, nullptr);
    m_resampler.reset(resampler);
    av_channel_layout_uninit(&m_inLayout);
    if (rc < 0 || swr_init(m_resampler.get()) < 0 ||
        av_channel_layout_copy(&m_inLayout, &frame->ch_layout) < 0) {
      m_resampler.reset();
      return Refuse(AudioFailure::Other, "звук не преобразуется");
    }
    m_inFormat = frame->format;
    return true;
  }

  // Takes every frame the decoder has ready; false when the sound is over the limit.
  bool Receive(AVFrame* frame) {
    while (avcodec_receive_frame(m_codec.get(), frame) >= 0) {
      const bool kept = Convert(frame);
      av_frame_unref(frame);
      if (!kept) return false;
    }
    return true;
  }

  bool Convert(AVFrame* frame) {
    if (frame->nb_samples <= 0 || !frame->extended_data) return true;
    if (!ResamplerFor(frame)) return false;
    if (m_pcm.Frames() + static_cast<size_t>(frame->nb_samples) > m_maxFrames)
      return Refuse(AudioFailure::TooLong, DescribeTooLong());
    try {
      const size_t width = static_cast<size_t>(m_pcm.channels);
      const size_t filled = m_pcm.samples.size();
      const int room = swr_get_out_samples(m_resampler.get(), frame->nb_samples);
      if (room < 0) return Refuse(AudioFailure::Other, "звук не преобразуется");
      m_pcm.samples.resize(filled + static_cast<size_t>(room) * width);
      auto* out = reinterpret_cast<uint8_t*>(m_pcm.samples.data() + filled);
      const int made =
          swr_convert(m_resampler.get(), &out, room,
                      const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
      m_pcm.samples.resize(filled + static_cast<size_t>(std::max(made, 0)) * width);
      if (made < 0) return Refuse(AudioFailure::Other, "звук не преобразуется");
    } catch (const std::bad_alloc&) {
      return Refuse(AudioFailure::Other, "не хватает памяти для звука");
    }
    return true;
  }

  MemoryInput m_input;
  AudioFailure& m_failure;
  std::string& m_error;
  std::unique_ptr<AVIOContext, IoCloser> m_io;
  std::unique_ptr<AVFormatContext, FormatCloser> m_format;
  std::unique_ptr<AVCodecContext, CodecCloser> m_codec;
  std::unique_ptr<SwrContext, ResamplerCloser> m_resampler;
  int m_inFormat = -1;  // what m_resampler takes
  AVChannelLayout m_inLayout{};
  int m_stream = -1;
  size_t m_maxFrames = 0;
  lesson::Pcm m_pcm;
};

}  // namespace

std::optional<lesson::Pcm> DecodeMpeg4(std::span<const uint8_t> bytes, AudioFailure& failure,
                                       std::string& error) {
  failure = AudioFailure::Other;
  // FFmpeg's own messages about damaged input are not the learner's: the error says it.
  static const bool quiet = [] {
    av_log_set_level(AV_LOG_QUIET);
    return true;
  }();
  (void)quiet;
  return Decoder(bytes, failure, error).Run();
}

}  // namespace verbaro::lessonimport
