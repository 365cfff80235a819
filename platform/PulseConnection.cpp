#include "platform/PulseConnection.h"

#include <pulse/rtclock.h>

#include "platform/WaveOut.h"

namespace verbaro {

std::shared_ptr<PulseConnection> PulseConnection::Shared() {
  static std::weak_ptr<PulseConnection> shared;
  std::shared_ptr<PulseConnection> connection = shared.lock();
  if (!connection) {
    connection = std::make_shared<PulseConnection>();
    shared = connection;
  }
  return connection;
}

PulseConnection::PulseConnection() : m_loop(pa_threaded_mainloop_new()) {
  if (m_loop && pa_threaded_mainloop_start(m_loop) < 0) {
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
  }
}

PulseConnection::~PulseConnection() {
  if (!m_loop) return;
  {
    Lock lock(*this);
    DropContext();
  }
  pa_threaded_mainloop_stop(m_loop);
  pa_threaded_mainloop_free(m_loop);
}

PulseConnection::Lock::Lock(const PulseConnection& connection) : m_loop(connection.m_loop) {
  if (m_loop) pa_threaded_mainloop_lock(m_loop);
}

PulseConnection::Lock::~Lock() {
  if (m_loop) pa_threaded_mainloop_unlock(m_loop);
}

void PulseConnection::OnContextState(pa_context*, void* self) {
  static_cast<PulseConnection*>(self)->Wake();
}

void PulseConnection::Wake() {
  if (m_loop) pa_threaded_mainloop_signal(m_loop, 0);
}

void PulseConnection::DropContext() {
  if (!m_context) return;
  pa_context_set_state_callback(m_context, nullptr, nullptr);
  pa_context_disconnect(m_context);
  pa_context_unref(m_context);
  m_context = nullptr;
}

pa_context* PulseConnection::Context() const {
  if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY) return m_context;
  return nullptr;
}

int PulseConnection::Connect() {
  if (Context()) return waveout::kOk;
  const int failure = m_answered ? waveout::kDeviceLost : waveout::kNoDevice;
  if (!m_loop) return failure;
  // A context that broke stays broken: the next attempt needs a new one. Streams made on the old
  // one keep it alive until their wave outputs let them go.
  DropContext();
  pa_proplist* properties = pa_proplist_new();
  pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Verbaro");
  pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "verbaro");
  m_context =
      pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), nullptr, properties);
  pa_proplist_free(properties);
  if (!m_context) return failure;
  pa_context_set_state_callback(m_context, OnContextState, this);
  // A missing socket fails here at once; a server that answers is ready within milliseconds.
  if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    DropContext();
    return failure;
  }
  WaitFor(
      [this] {
        const pa_context_state_t state = pa_context_get_state(m_context);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
      },
      kConnectMilliseconds);
  if (!Context()) {
    DropContext();
    return failure;
  }
  m_answered = true;
  return waveout::kOk;
}

bool PulseConnection::WaitFor(const std::function<bool()>& done, int milliseconds) {
  if (done() || !m_context) return done();
  struct Deadline {
    PulseConnection* self;
    bool passed = false;
  } deadline{this};
  pa_time_event* timer = pa_context_rttime_new(
      m_context, pa_rtclock_now() + static_cast<pa_usec_t>(milliseconds) * PA_USEC_PER_MSEC,
      [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
        auto* d = static_cast<Deadline*>(data);
        d->passed = true;
        d->self->Wake();
      },
      &deadline);
  if (!timer) return done();
  while (!done() && !deadline.passed) pa_threaded_mainloop_wait(m_loop);
  pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
  api->time_free(timer);
  return done();
}

}  // namespace verbaro
