#pragma once
// A null sink of the test's own on the sound server, and a recorder of its monitor (parec, mono
// 16-bit samples at 44.1 kHz), so that the test hears its own sound and nothing that other
// programs or tests play meanwhile.
#include <QProcess>
#include <QString>
#include <cstdint>
#include <vector>

namespace verbaro::test {

// Whether a PulseAudio-compatible server answers (pactl info succeeds).
bool SoundServerAnswers();

// A null sink loaded for this process, unloaded again when the object goes.
class PrivateNullSink {
 public:
  PrivateNullSink();
  ~PrivateNullSink();
  PrivateNullSink(const PrivateNullSink&) = delete;
  PrivateNullSink& operator=(const PrivateNullSink&) = delete;

  // Loads the sink and waits until Qt lists it among the outputs; false with a reason otherwise.
  bool Load(QString* reason);
  QByteArray DeviceId() const { return m_name.toUtf8(); }
  QString Monitor() const { return m_name + QStringLiteral(".monitor"); }

 private:
  QString m_name;
  QString m_module;
};

class MonitorRecorder {
 public:
  static constexpr int kRate = 44100;

  ~MonitorRecorder();
  // Starts parec on the source and waits until the first samples arrive; false with a reason
  // otherwise.
  bool Start(const QString& source, QString* reason);
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
