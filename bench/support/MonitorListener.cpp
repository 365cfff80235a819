#include "support/MonitorListener.h"

#include <cstdlib>

namespace verbaro::bench {

MonitorListener::~MonitorListener() {
  if (!m_pLoop) return;
  pa_threaded_mainloop_lock(m_pLoop);
  if (m_pStream) {
    pa_stream_set_read_callback(m_pStream, nullptr, nullptr);
    pa_stream_set_state_callback(m_pStream, nullptr, nullptr);
    pa_stream_disconnect(m_pStream);
    pa_stream_unref(m_pStream);
  }
  if (m_pContext) {
    pa_context_set_state_callback(m_pContext, nullptr, nullptr);
    pa_context_disconnect(m_pContext);
    pa_context_unref(m_pContext);
  }
  pa_threaded_mainloop_unlock(m_pLoop);
  pa_threaded_mainloop_stop(m_pLoop);
  pa_threaded_mainloop_free(m_pLoop);
}

void MonitorListener::OnContextState(pa_context*, void* self) {
  pa_threaded_mainloop_signal(static_cast<MonitorListener*>(self)->m_pLoop, 0);
}

void MonitorListener::OnState(pa_stream*, void* self) {
  pa_threaded_mainloop_signal(static_cast<MonitorListener*>(self)->m_pLoop, 0);
}

bool MonitorListener::Start(const std::string& source, std::string* reason) {
  m_pLoop = pa_threaded_mainloop_new();
  if (!m_pLoop || pa_threaded_mainloop_start(m_pLoop) < 0) {
    *reason = "no main loop";
    return false;
  }
  pa_threaded_mainloop_lock(m_pLoop);
  m_pContext = pa_context_new(pa_threaded_mainloop_get_api(m_pLoop), "verbaro-bench-listener");
  pa_context_set_state_callback(m_pContext, OnContextState, this);
  bool ok = pa_context_connect(m_pContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0;
  while (ok && pa_context_get_state(m_pContext) != PA_CONTEXT_READY) {
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(m_pContext))) ok = false;
    else pa_threaded_mainloop_wait(m_pLoop);
  }
  if (!ok) {
    *reason = "no sound server answers";
    pa_threaded_mainloop_unlock(m_pLoop);
    return false;
  }
  const pa_sample_spec spec{PA_SAMPLE_S16LE, kRate, 1};
  pa_buffer_attr attributes{};
  attributes.maxlength = static_cast<uint32_t>(-1);
  attributes.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(kFragmentMilliseconds * PA_USEC_PER_MSEC, &spec));
  m_pStream = pa_stream_new(m_pContext, "verbaro-bench-monitor", &spec, nullptr);
  pa_stream_set_state_callback(m_pStream, OnState, this);
  pa_stream_set_read_callback(m_pStream, OnRead, this);
  ok = pa_stream_connect_record(m_pStream, source.c_str(), &attributes, PA_STREAM_ADJUST_LATENCY) >= 0;
  while (ok && pa_stream_get_state(m_pStream) != PA_STREAM_READY) {
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(m_pStream))) ok = false;
    else pa_threaded_mainloop_wait(m_pLoop);
  }
  if (!ok) *reason = "cannot record " + source;
  pa_threaded_mainloop_unlock(m_pLoop);
  return ok;
}

void MonitorListener::OnRead(pa_stream*, size_t, void* self) {
  static_cast<MonitorListener*>(self)->Read();
}

void MonitorListener::Read() {
  const Clock::time_point arrival = Clock::now();
  const void* data = nullptr;
  size_t bytes = 0;
  while (pa_stream_readable_size(m_pStream) > 0 && pa_stream_peek(m_pStream, &data, &bytes) == 0) {
    if (bytes == 0) break;
    const size_t frames = bytes / sizeof(int16_t);
    if (data) {
      const auto* samples = static_cast<const int16_t*>(data);
      bool audible = false;
      for (size_t i = 0; i < frames && !audible; ++i) {
        audible = std::abs(int{samples[i]}) > m_nThreshold;
      }
      if (audible) {
        m_nLastSound = arrival.time_since_epoch().count();
        if (m_bArmed.exchange(false)) m_nOnset = arrival.time_since_epoch().count();
      }
    }
    pa_stream_drop(m_pStream);
  }
}

void MonitorListener::Arm() {
  m_nOnset = 0;
  m_bArmed = true;
}

std::optional<MonitorListener::Clock::time_point> MonitorListener::Onset() const {
  const Clock::rep onset = m_nOnset;
  if (onset == 0) return std::nullopt;
  return Clock::time_point(Clock::duration(onset));
}

MonitorListener::Clock::time_point MonitorListener::LastSound() const {
  return Clock::time_point(Clock::duration(m_nLastSound.load()));
}

}  // namespace verbaro::bench
