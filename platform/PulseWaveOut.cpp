#include "platform/PulseWaveOut.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <utility>

#include "platform/PulseConnection.h"

namespace verbaro {
namespace {

bool ToSampleSpec(const PcmFormat& format, pa_sample_spec* spec) {
  switch (format.bitsPerSample) {
    case 8: spec->format = PA_SAMPLE_U8; break;
    case 16: spec->format = PA_SAMPLE_S16LE; break;
    case 32: spec->format = PA_SAMPLE_S32LE; break;
    default: return false;
  }
  if (format.channels < 1 || format.channels > int{PA_CHANNELS_MAX} ||
      format.samplesPerSecond < 1) {
    return false;
  }
  spec->channels = static_cast<uint8_t>(format.channels);
  spec->rate = static_cast<uint32_t>(format.samplesPerSecond);
  return pa_sample_spec_valid(spec) != 0;
}

}  // namespace

PulseWaveOut::PulseWaveOut(std::string deviceId, int maxBufferMilliseconds)
    : m_connection(PulseConnection::Shared()),
      m_deviceId(std::move(deviceId)),
      m_maxBufferMilliseconds(maxBufferMilliseconds) {}

PulseWaveOut::~PulseWaveOut() {
  PulseConnection::Lock lock(*m_connection);
  EndStream();
}

int PulseWaveOut::Open(const PcmFormat& format) {
  Close();
  pa_sample_spec spec{};
  if (!ToSampleSpec(format, &spec)) return waveout::kBadFormat;
  PulseConnection::Lock lock(*m_connection);
  // Without any server there is no device to open. A server that answered before and has gone
  // away is looked for again by Write, which reports the lost device.
  if (m_connection->Connect() == waveout::kNoDevice) return waveout::kNoDevice;
  if (format.channels != m_format.channels ||
      format.samplesPerSecond != m_format.samplesPerSecond ||
      format.bitsPerSample != m_format.bitsPerSample) {
    EndStream();
  }
  m_format = format;
  m_open = true;
  m_lostError = waveout::kOk;
  // Made now, so that Write only starts it; a failure here is Write's to report.
  PrepareStream();
  return waveout::kOk;
}

int PulseWaveOut::Write(const uint8_t* data, size_t bytes) {
  if (!m_open) return waveout::kNotOpen;
  PulseConnection::Lock lock(*m_connection);
  if (const int lost = std::exchange(m_lostError, waveout::kOk)) {
    EndStream();
    return lost;
  }
  if (m_playing) return waveout::kStillPlaying;
  pa_sample_spec spec{};
  ToSampleSpec(m_format, &spec);
  const size_t frame = pa_frame_size(&spec);
  if (bytes / frame == 0) return waveout::kOk;
  if (const int prepared = PrepareStream()) return prepared;
  m_pcm.assign(data, data + bytes / frame * frame);
  m_fed = 0;
  m_playing = true;
  Feed(pa_stream_writable_size(m_stream));
  return waveout::kOk;
}

bool PulseWaveOut::StreamUsable() const {
  // A stream of a connection that has since been made anew belongs to a server that went away.
  return m_stream && pa_stream_get_state(m_stream) == PA_STREAM_READY &&
         pa_stream_get_context(m_stream) == m_connection->Context();
}

int PulseWaveOut::PrepareStream() {
  if (StreamUsable()) return waveout::kOk;
  EndStream();
  // The server may have gone since Open, or come back: this is where the connection is renewed.
  if (const int connected = m_connection->Connect()) {
    return connected == waveout::kNoDevice ? waveout::kNoDevice : waveout::kDeviceLost;
  }
  pa_context* context = m_connection->Context();
  pa_sample_spec spec{};
  ToSampleSpec(m_format, &spec);
  pa_buffer_attr attributes{};
  attributes.maxlength = static_cast<uint32_t>(-1);
  attributes.tlength = static_cast<uint32_t>(
      pa_usec_to_bytes(static_cast<pa_usec_t>(m_maxBufferMilliseconds) * PA_USEC_PER_MSEC, &spec));
  attributes.prebuf = static_cast<uint32_t>(-1);
  attributes.minreq = static_cast<uint32_t>(-1);
  attributes.fragsize = static_cast<uint32_t>(-1);

  m_stream = pa_stream_new(context, "Verbaro", &spec, nullptr);
  if (!m_stream) return waveout::kError;
  pa_stream_set_state_callback(m_stream, OnStreamState, this);
  pa_stream_set_write_callback(m_stream, OnWritable, this);
  pa_stream_set_underflow_callback(m_stream, OnUnderflow, this);
  const char* device = m_deviceId.empty() ? nullptr : m_deviceId.c_str();
  if (pa_stream_connect_playback(m_stream, device, &attributes, PA_STREAM_NOFLAGS, nullptr,
                                 nullptr) < 0) {
    EndStream();
    return waveout::kDeviceLost;
  }
  m_connection->WaitFor([this] { return pa_stream_get_state(m_stream) != PA_STREAM_CREATING; },
                        kStreamMilliseconds);
  if (pa_stream_get_state(m_stream) != PA_STREAM_READY) {
    const int error = pa_context_errno(context);
    EndStream();
    m_lostError = waveout::kOk;
    return error == PA_ERR_NOENTITY ? waveout::kNoDevice : waveout::kDeviceLost;
  }
  return waveout::kOk;
}

void PulseWaveOut::Feed(size_t room) {
  while (m_stream && room > 0 && m_fed < m_pcm.size()) {
    const size_t chunk = std::min(room, m_pcm.size() - m_fed);
    // A null free callback makes the library copy the bytes: m_pcm may change after this.
    if (pa_stream_write(m_stream, m_pcm.data() + m_fed, chunk, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
      break;
    }
    m_fed += chunk;
    room -= chunk;
    if (m_fed == m_pcm.size()) {
      // All handed over: start now, however short the sound (a stream otherwise waits until
      // its buffer is full).
      pa_operation* operation = pa_stream_trigger(m_stream, nullptr, nullptr);
      if (operation) pa_operation_unref(operation);
    }
  }
}

void PulseWaveOut::OnWritable(pa_stream*, size_t bytes, void* self) {
  static_cast<PulseWaveOut*>(self)->Feed(bytes);
}

void PulseWaveOut::OnUnderflow(pa_stream*, void* self) {
  // The recording has run out. The stream is left as it is, like a device that stays open after
  // its sound has ended, until the next play or stop: pausing it now would also take back what
  // the output has mixed ahead but not yet sounded, the end of the recording.
  auto* out = static_cast<PulseWaveOut*>(self);
  if (out->m_fed >= out->m_pcm.size()) out->m_playing = false;
}

void PulseWaveOut::OnStreamState(pa_stream* stream, void* self) {
  auto* out = static_cast<PulseWaveOut*>(self);
  if (pa_stream_get_state(stream) == PA_STREAM_FAILED) out->m_lostError = waveout::kDeviceLost;
  out->m_connection->Wake();
}

void PulseWaveOut::Empty() {
  m_pcm.clear();
  m_fed = 0;
  m_playing = false;
  if (!StreamUsable()) return;
  // Emptied, the stream waits for the next recording; what the output had mixed of it is taken
  // back, so the sound stops at once.
  pa_operation* operation = pa_stream_flush(m_stream, nullptr, nullptr);
  if (operation) pa_operation_unref(operation);
}

void PulseWaveOut::EndStream() {
  if (m_stream) {
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    pa_stream_set_underflow_callback(m_stream, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream))) pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
  }
  m_pcm.clear();
  m_fed = 0;
  m_playing = false;
}

void PulseWaveOut::Reset() {
  PulseConnection::Lock lock(*m_connection);
  Empty();
}

void PulseWaveOut::Close() {
  PulseConnection::Lock lock(*m_connection);
  Empty();
  m_open = false;
  m_lostError = waveout::kOk;
}

}  // namespace verbaro
