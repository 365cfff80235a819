#include "support/MonitorListener.h"

#include <cstdlib>

namespace verbaro::bench {

MonitorListener::~MonitorListener() {
  if (!m_loop) return;
  pa_threaded_mainloop_lock(m_loop);
  if (m_stream) {
    pa_stream_set_read_callback(m_stream, nullptr, nullptr);
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
  }
  if (m_context) {
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
  }
  pa_threaded_mainloop_unlock(m_loop);
  pa_threaded_mainloop_stop(m_loop);
  pa_threaded_mainloop_free(m_loop);
}

void MonitorListener::OnContextState(pa_context*, void* self) {
  pa_threaded_mainloop_signal(static_cast<MonitorListener*>(self)->m_loop, 0);
}

void MonitorListener::OnState(pa_stream*, void* self) {
  pa_threaded_mainloop_signal(static_cast<MonitorListener*>(self)->m_loop, 0);
}

bool MonitorListener::Start(const std::string& source, std::string* reason) {
  m_loop = pa_threaded_mainloop_new();
  if (!m_loop || pa_threaded_mainloop_start(m_loop) < 0) {
    *reason = "no main loop";
    return false;
  }
  pa_threaded_mainloop_lock(m_loop);
  m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "verbaro-bench-listener");
  pa_context_set_state_callback(m_context, OnContextState, this);
  bool ok = pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0;
  while (ok && pa_context_get_state(m_context) != PA_CONTEXT_READY) {
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context))) ok = false;
    else pa_threaded_mainloop_wait(m_loop);
  }
  if (!ok) {
    *reason = "no sound server answers";
    pa_threaded_mainloop_unlock(m_loop);
    return false;
  }
  const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
  pa_buffer_attr attributes{};
  attributes.maxlength = static_cast<uint32_t>(-1);
  attributes.fragsize =
      static_cast<uint32_t>(pa_usec_to_bytes(kFragmentMilliseconds * PA_USEC_PER_MSEC, &spec));
  m_stream = pa_stream_new(m_context, "verbaro-bench-monitor", &spec, nullptr);
  pa_stream_set_state_callback(m_stream, OnState, this);
  pa_stream_set_read_callback(m_stream, OnRead, this);
  ok = pa_stream_connect_record(m_stream, source.c_str(), &attributes, PA_STREAM_ADJUST_LATENCY) >=
       0;
  while (ok && pa_stream_get_state(m_stream) != PA_STREAM_READY) {
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream))) ok = false;
    else pa_threaded_mainloop_wait(m_loop);
  }
  if (!ok) *reason = "cannot record " + source;
  pa_threaded_mainloop_unlock(m_loop);
  return ok;
}

void MonitorListener::OnRead(pa_stream*, size_t, void* self) {
  static_cast<MonitorListener*>(self)->Read();
}

void MonitorListener::Read() {
  const Clock::time_point arrival = Clock::now();
  const void* data = nullptr;
  size_t bytes = 0;
  while (pa_stream_readable_size(m_stream) > 0 && pa_stream_peek(m_stream, &data, &bytes) == 0) {
    if (bytes == 0) break;
    const size_t frames = bytes / sizeof(int16_t);
    if (data) {
      const auto* samples = static_cast<const int16_t*>(data);
      bool audible = false;
      for (size_t i = 0; i < frames && !audible; ++i) {
        audible = std::abs(int{samples[i]}) > m_threshold;
      }
      if (audible) {
        m_lastSound = arrival.time_since_epoch().count();
        if (m_armed.exchange(false)) m_onset = arrival.time_since_epoch().count();
      }
    }
    pa_stream_drop(m_stream);
  }
}

void MonitorListener::Arm() {
  m_onset = 0;
  m_armed = true;
}

std::optional<MonitorListener::Clock::time_point> MonitorListener::Onset() const {
  const Clock::rep onset = m_onset;
  if (onset == 0) return std::nullopt;
  return Clock::time_point(Clock::duration(onset));
}

MonitorListener::Clock::time_point MonitorListener::LastSound() const {
  return Clock::time_point(Clock::duration(m_lastSound.load()));
}

}  // namespace verbaro::bench
