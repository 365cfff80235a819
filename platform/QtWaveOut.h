#pragma once
// The wave output over Qt Multimedia: a QAudioSink on the default output device (PulseAudio or
// PipeWire's pulse server on Linux). Write hands the sink a private copy of the PCM, which it
// pulls on the UI thread's event loop, so nothing blocks and no thread is needed.
#include <QBuffer>
#include <memory>

#include "platform/WaveOut.h"

class QAudioSink;

namespace verbaro {

class QtWaveOut : public WaveOut {
 public:
  // How much sound the sink holds ahead of the speaker: small, so that a word starts at once.
  static constexpr int kBufferMilliseconds = 35;

  QtWaveOut();
  ~QtWaveOut() override;

  int Open(const PcmFormat& format) override;
  int Write(const uint8_t* data, size_t bytes) override;
  void Reset() override;
  void Close() override;
  bool IsOpen() const override;

 private:
  void OnStateChanged();

  std::unique_ptr<QAudioSink> m_pSink;
  QBuffer m_buffer;
  int m_nLostError = waveout::kOk;  // a failure during play, reported by the next Write
};

}  // namespace verbaro
