#pragma once
// The wave output over Qt Multimedia: a QAudioSink on an output device (by default the
// default one: PulseAudio or PipeWire's pulse server on Linux). Like a wave device that is
// handed the whole buffer, Write asks the sound server to hold the whole recording, so that a
// busy UI thread cannot starve it; the server still starts the sound at once. Recordings
// longer than the server's buffer are fed the rest from a short timer on the UI thread's event
// loop, so nothing blocks and no thread is needed.
#include <QAudioFormat>
#include <QByteArray>
#include <QTimer>
#include <memory>

#include "platform/WaveOut.h"

class QAudioSink;
class QIODevice;

namespace verbaro {

class QtWaveOut : public WaveOut {
 public:
  // The server's buffer: the whole recording, up to this length.
  static constexpr int kMaxBufferMilliseconds = 4000;
  static constexpr int kFeedMilliseconds = 10;

  // deviceId names an output device (its QAudioDevice id, a PulseAudio sink name); empty for
  // the default output, looked up at every Open so that a changed default is followed.
  explicit QtWaveOut(QByteArray deviceId = {},
                     int maxBufferMilliseconds = kMaxBufferMilliseconds);
  ~QtWaveOut() override;

  int Open(const PcmFormat& format) override;
  int Write(const uint8_t* data, size_t bytes) override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override;

 private:
  void Feed();
  void OnStateChanged();

  const QByteArray m_deviceId;
  const int m_nMaxBufferMilliseconds;
  std::unique_ptr<QAudioSink> m_pSink;
  QAudioFormat m_format;
  QIODevice* m_pSinkInput = nullptr;  // owned by the sink while it plays
  QByteArray m_pcm;
  qsizetype m_nFed = 0;
  QTimer m_feedTimer;
  int m_nLostError = waveout::kOk;  // a failure during play, reported by the next Write
};

}  // namespace verbaro
