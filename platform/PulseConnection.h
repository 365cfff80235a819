#pragma once
// The program's one connection to the sound server (PulseAudio, or PipeWire's pulse server),
// shared by every wave output. The connection runs its own thread, so that the sound is fed
// even while the UI thread is busy.
//
// Desktop sound servers restart (package upgrades, a user restarting them); a connection that
// broke is made anew on the next Connect, so sound comes back by itself once the server
// answers again. Waits are bounded: a server that hangs costs at most kConnectMilliseconds.
#include <pulse/pulseaudio.h>

#include <functional>
#include <memory>

namespace verbaro {

class PulseConnection {
 public:
  static constexpr int kConnectMilliseconds = 1000;

  // The connection of the process; made on first use, ended when the last user lets it go.
  static std::shared_ptr<PulseConnection> Shared();

  PulseConnection();
  ~PulseConnection();
  PulseConnection(const PulseConnection&) = delete;
  PulseConnection& operator=(const PulseConnection&) = delete;

  // Holds the connection thread's lock; every use of the context and its streams needs it.
  class Lock {
   public:
    explicit Lock(const PulseConnection& connection);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    pa_threaded_mainloop* m_loop;
  };

  // With the lock held: makes sure the connection is ready, connecting anew when there is none
  // or the one there broke. Returns a wave output result: 0 when ready, "no device" while no
  // server has ever answered, "device lost" when one answered before but does not now.
  int Connect();
  // With the lock held: the ready context, or null.
  pa_context* Context() const;
  // With the lock held: runs the connection thread until done() holds or the time is up;
  // returns done(). Callbacks that change what done() reads must call Wake().
  bool WaitFor(const std::function<bool()>& done, int milliseconds);
  // From a callback: wakes a WaitFor to look again.
  void Wake();

 private:
  static void OnContextState(pa_context* context, void* self);
  void DropContext();

  pa_threaded_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
  bool m_answered = false;  // a server has answered in this run
};

}  // namespace verbaro
