#include "platform/QtWaveOut.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <utility>

namespace verbaro {
namespace {

QAudioFormat ToQAudioFormat(const PcmFormat& format) {
  QAudioFormat q;
  q.setSampleRate(format.samplesPerSecond);
  q.setChannelCount(format.channels);
  switch (format.bitsPerSample) {
    case 8:
      q.setSampleFormat(QAudioFormat::UInt8);
      break;
    case 16:
      q.setSampleFormat(QAudioFormat::Int16);
      break;
    case 32:
      q.setSampleFormat(QAudioFormat::Int32);
      break;
    default:
      q.setSampleFormat(QAudioFormat::Unknown);
      break;
  }
  return q;
}

bool IsFailure(QAudio::Error error) {
  // An underrun only means the PCM has run out: the normal end of a recording.
  return error != QAudio::NoError && error != QAudio::UnderrunError;
}

}  // namespace

QtWaveOut::QtWaveOut() = default;

QtWaveOut::~QtWaveOut() { Close(); }

bool QtWaveOut::IsOpen() const { return m_pSink != nullptr; }

int QtWaveOut::Open(const PcmFormat& format) {
  Close();
  const QAudioFormat qFormat = ToQAudioFormat(format);
  if (!qFormat.isValid()) return waveout::kBadFormat;
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return waveout::kNoDevice;
  if (!device.isFormatSupported(qFormat)) return waveout::kBadFormat;

  auto sink = std::make_unique<QAudioSink>(device, qFormat);
  if (sink->isNull()) return waveout::kNoDevice;
  sink->setBufferSize(qFormat.bytesForDuration(qint64{kBufferMilliseconds} * 1000));
  QObject::connect(sink.get(), &QAudioSink::stateChanged, sink.get(),
                   [this](QAudio::State) { OnStateChanged(); });
  m_pSink = std::move(sink);
  m_nLostError = waveout::kOk;
  return waveout::kOk;
}

void QtWaveOut::OnStateChanged() {
  if (m_pSink && m_pSink->state() == QAudio::StoppedState && IsFailure(m_pSink->error())) {
    m_nLostError = waveout::kDeviceLost;
  }
}

int QtWaveOut::Write(const uint8_t* data, size_t bytes) {
  if (!IsOpen()) return waveout::kNotOpen;
  if (const int lost = std::exchange(m_nLostError, waveout::kOk)) return lost;
  if (m_pSink->state() == QAudio::ActiveState) return waveout::kStillPlaying;
  if (!bytes) return waveout::kOk;

  m_pSink->stop();
  m_buffer.close();
  m_buffer.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(bytes));
  if (!m_buffer.open(QIODevice::ReadOnly)) return waveout::kNoMemory;
  m_pSink->start(&m_buffer);
  if (IsFailure(m_pSink->error())) {
    m_nLostError = waveout::kOk;
    return waveout::kDeviceLost;
  }
  return waveout::kOk;
}

void QtWaveOut::Reset() {
  if (!m_pSink) return;
  // reset() drops what the sink and the server still hold; stop() then ends the stream.
  m_pSink->reset();
  m_pSink->stop();
  m_buffer.close();
}

void QtWaveOut::Close() {
  Reset();
  m_pSink.reset();
  m_buffer.setData(QByteArray());
}

}  // namespace verbaro
