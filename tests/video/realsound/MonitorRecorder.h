#pragma once
// Records what the sound server's default sink plays, through its monitor, with parec: mono
// 16-bit samples at 44.1 kHz.
#include <QProcess>
#include <QString>
#include <cstdint>
#include <vector>

namespace verbaro::test {

// Whether a PulseAudio-compatible server answers (pactl info succeeds).
bool SoundServerAnswers();

class MonitorRecorder {
 public:
  static constexpr int kRate = 44100;

  ~MonitorRecorder();
  // Starts parec and waits until the first samples arrive; false with a reason otherwise.
  bool Start(QString* reason);
  // Ends the recording and returns every sample recorded.
  std::vector<int16_t> Stop();

 private:
  QProcess m_process;
  QByteArray m_data;
};

// One stretch of sound between silences, with its pitch from the zero crossings.
struct SoundBurst {
  double startSeconds = 0;
  double endSeconds = 0;
  double frequency = 0;
};

// The bursts of a recording: 10 ms windows louder than `threshold` (RMS), joined across gaps
// shorter than `joinSeconds`; bursts shorter than 50 ms are dropped as clicks.
std::vector<SoundBurst> FindBursts(const std::vector<int16_t>& samples, int rate,
                                   double threshold = 1000, double joinSeconds = 0.15);

}  // namespace verbaro::test
