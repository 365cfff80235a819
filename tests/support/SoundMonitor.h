#pragma once
// Hearing what a test plays on the real sound server: a null sink of the test's own, and a
// recorder of its monitor (parec, 16-bit samples at 44.1 kHz), so that the test hears its own
// sound and nothing that other programs or tests play meanwhile.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace verbaro::test {

// Whether a PulseAudio-compatible server answers (pactl is there and `pactl info` succeeds).
bool SoundServerAnswers();

// A null sink loaded for this process, unloaded again when the object goes.
class PrivateNullSink {
 public:
  PrivateNullSink();
  ~PrivateNullSink();
  PrivateNullSink(const PrivateNullSink&) = delete;
  PrivateNullSink& operator=(const PrivateNullSink&) = delete;

  // Loads the sink; false with a reason otherwise.
  bool Load(QString* reason);
  // The sink as a wave output device id, and the name of its monitor source.
  std::string DeviceId() const { return m_name.toStdString(); }
  QString Monitor() const { return m_name + QStringLiteral(".monitor"); }

 private:
  QString m_name;
  QString m_module;
};

// Records a source as interleaved 16-bit samples. The server may deliver the stream in large
// chunks, late; its content is still in time order, one frame per 1/44100 s.
class MonitorRecorder {
 public:
  static constexpr int kRate = 44100;

  explicit MonitorRecorder(int channels = 1) : m_channels(channels) {}
  ~MonitorRecorder();
  MonitorRecorder(const MonitorRecorder&) = delete;
  MonitorRecorder& operator=(const MonitorRecorder&) = delete;

  // Starts parec on the source and waits until the first samples arrive; false with a reason
  // otherwise.
  bool Start(const QString& source, QString* reason);
  // Every whole frame recorded so far; the recording goes on. What arrives while the event loop
  // runs (or during this call) is taken in.
  std::vector<int16_t> Samples();
  // Drops what was recorded so far; the recording goes on, for a sound played afresh.
  void Forget();
  // Ends the recording and returns every whole frame recorded.
  std::vector<int16_t> Stop();
  // Waits (at most 15 s) until a stereo recording holds sound above the threshold followed by at
  // least trailingSilence seconds of silence, so that everything played before has arrived;
  // returns the recording so far.
  std::vector<int16_t> WaitForSoundThenSilence(int threshold, double trailingSilence);

 private:
  int m_channels;
  QProcess m_process;
  QByteArray m_data;
};

}  // namespace verbaro::test
