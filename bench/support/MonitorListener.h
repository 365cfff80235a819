#pragma once
// Listens to a sink's monitor on the sound server that this process uses, and notes when the
// first audible sample of a new sound arrives, on the steady clock.
//
// The listener asks for small fragments (kFragmentMilliseconds); a sample's moment is the
// arrival of the fragment that holds it. (The null sink mixes ahead of time and hands the
// monitor what it mixed at once, so a fragment's samples cannot be dated more finely.)
#include <pulse/pulseaudio.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

namespace verbaro::bench {

class MonitorListener {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr int kRate = 44100;
  static constexpr int kFragmentMilliseconds = 2;

  explicit MonitorListener(int threshold = 1000) : m_threshold(threshold) {}
  ~MonitorListener();
  MonitorListener(const MonitorListener&) = delete;
  MonitorListener& operator=(const MonitorListener&) = delete;

  // Connects and starts recording the source (a sink's monitor); false with a reason.
  bool Start(const std::string& source, std::string* reason);
  // From now on, the next audible sample is noted; anything noted before is forgotten.
  void Arm();
  // The moment of the first audible sample since Arm, once there is one.
  std::optional<Clock::time_point> Onset() const;
  // The last moment an audible sample arrived (for waiting until a sound has ended).
  Clock::time_point LastSound() const;

 private:
  static void OnRead(pa_stream* stream, size_t bytes, void* self);
  static void OnState(pa_stream* stream, void* self);
  static void OnContextState(pa_context* context, void* self);
  void Read();

  const int m_threshold;
  pa_threaded_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
  pa_stream* m_stream = nullptr;
  std::atomic<bool> m_armed{false};
  std::atomic<Clock::rep> m_onset{0};  // 0: none yet
  std::atomic<Clock::rep> m_lastSound{0};
};

}  // namespace verbaro::bench
