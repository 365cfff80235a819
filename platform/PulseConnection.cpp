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

PulseConnection::PulseConnection() : m_pLoop(pa_threaded_mainloop_new()) {
  if (m_pLoop && pa_threaded_mainloop_start(m_pLoop) < 0) {
    pa_threaded_mainloop_free(m_pLoop);
    m_pLoop = nullptr;
  }
}

PulseConnection::~PulseConnection() {
  if (!m_pLoop) return;
  {
    Lock lock(*this);
    DropContext();
  }
  pa_threaded_mainloop_stop(m_pLoop);
  pa_threaded_mainloop_free(m_pLoop);
}

PulseConnection::Lock::Lock(const PulseConnection& connection) : m_pLoop(connection.m_pLoop) {
  if (m_pLoop) pa_threaded_mainloop_lock(m_pLoop);
}

PulseConnection::Lock::~Lock() {
  if (m_pLoop) pa_threaded_mainloop_unlock(m_pLoop);
}

void PulseConnection::OnContextState(pa_context*, void* self) {
  static_cast<PulseConnection*>(self)->Wake();
}

void PulseConnection::Wake() {
  if (m_pLoop) pa_threaded_mainloop_signal(m_pLoop, 0);
}

void PulseConnection::DropContext() {
  if (!m_pContext) return;
  pa_context_set_state_callback(m_pContext, nullptr, nullptr);
  pa_context_disconnect(m_pContext);
  pa_context_unref(m_pContext);
  m_pContext = nullptr;
}

pa_context* PulseConnection::Context() const {
  if (m_pContext && pa_context_get_state(m_pContext) == PA_CONTEXT_READY) return m_pContext;
  return nullptr;
}

int PulseConnection::Connect() {
  if (Context()) return waveout::kOk;
  const int failure = m_bAnswered ? waveout::kDeviceLost : waveout::kNoDevice;
  if (!m_pLoop) return failure;
  // A context that broke stays broken: the next attempt needs a new one. Streams made on the old
  // one keep it alive until their wave outputs let them go.
  DropContext();
  pa_proplist* properties = pa_proplist_new();
  pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Verbaro");
  pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "verbaro");
  m_pContext =
      pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_pLoop), nullptr, properties);
  pa_proplist_free(properties);
  if (!m_pContext) return failure;
  pa_context_set_state_callback(m_pContext, OnContextState, this);
  // A missing socket fails here at once; a server that answers is ready within milliseconds.
  if (pa_context_connect(m_pContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    DropContext();
    return failure;
  }
  WaitFor(
      [this] {
        const pa_context_state_t state = pa_context_get_state(m_pContext);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
      },
      kConnectMilliseconds);
  if (!Context()) {
    DropContext();
    return failure;
  }
  m_bAnswered = true;
  return waveout::kOk;
}

bool PulseConnection::WaitFor(const std::function<bool()>& done, int milliseconds) {
  if (done() || !m_pContext) return done();
  struct Deadline {
    PulseConnection* self;
    bool passed = false;
  } deadline{this};
  pa_time_event* timer = pa_context_rttime_new(
      m_pContext, pa_rtclock_now() + static_cast<pa_usec_t>(milliseconds) * PA_USEC_PER_MSEC,
      [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
        auto* d = static_cast<Deadline*>(data);
        d->passed = true;
        d->self->Wake();
      },
      &deadline);
  if (!timer) return done();
  while (!done() && !deadline.passed) pa_threaded_mainloop_wait(m_pLoop);
  pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_pLoop);
  api->time_free(timer);
  return done();
}

}  // namespace verbaro
