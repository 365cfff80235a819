#include "platform/QtWaveOut.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>
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

QAudioDevice FindOutput(const QByteArray& id) {
  if (id.isEmpty()) return QMediaDevices::defaultAudioOutput();
  for (const QAudioDevice& device : QMediaDevices::audioOutputs()) {
    if (device.id() == id) return device;
  }
  return {};
}

bool IsFailure(QAudio::Error error) {
  // An underrun only means the PCM has run out: the normal end of a recording.
  return error != QAudio::NoError && error != QAudio::UnderrunError;
}

}  // namespace

QtWaveOut::QtWaveOut(QByteArray deviceId, int maxBufferMilliseconds)
    : m_deviceId(std::move(deviceId)), m_nMaxBufferMilliseconds(maxBufferMilliseconds) {
  m_feedTimer.setTimerType(Qt::PreciseTimer);
  m_feedTimer.setInterval(kFeedMilliseconds);
  m_feedTimer.callOnTimeout([this] { Feed(); });
}

QtWaveOut::~QtWaveOut() { Close(); }

bool QtWaveOut::IsOpen() const { return m_pSink != nullptr; }

int QtWaveOut::Open(const PcmFormat& format) {
  Close();
  const QAudioFormat qFormat = ToQAudioFormat(format);
  if (!qFormat.isValid()) return waveout::kBadFormat;
  const QAudioDevice device = FindOutput(m_deviceId);
  if (device.isNull()) return waveout::kNoDevice;
  if (!device.isFormatSupported(qFormat)) return waveout::kBadFormat;

  auto sink = std::make_unique<QAudioSink>(device, qFormat);
  if (sink->isNull()) return waveout::kNoDevice;
  QObject::connect(sink.get(), &QAudioSink::stateChanged, sink.get(),
                   [this](QAudio::State) { OnStateChanged(); });
  m_pSink = std::move(sink);
  m_format = qFormat;
  m_nLostError = waveout::kOk;
  return waveout::kOk;
}

void QtWaveOut::OnStateChanged() {
  if (m_pSink && m_pSink->state() == QAudio::StoppedState && IsFailure(m_pSink->error())) {
    m_nLostError = waveout::kDeviceLost;
    m_feedTimer.stop();
  }
}

int QtWaveOut::Write(const uint8_t* data, size_t bytes) {
  if (!IsOpen()) return waveout::kNotOpen;
  if (const int lost = std::exchange(m_nLostError, waveout::kOk)) return lost;
  if (m_feedTimer.isActive() || m_pSink->state() == QAudio::ActiveState) {
    return waveout::kStillPlaying;
  }
  if (!bytes) return waveout::kOk;

  m_pcm = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(bytes));
  m_nFed = 0;
  // Exactly the recording when it fits: the server starts a stream once its buffer is full, so
  // a buffer larger than a very short sound would never start it.
  const qsizetype most = m_format.bytesForDuration(qint64{m_nMaxBufferMilliseconds} * 1000);
  m_pSink->setBufferSize(std::min(m_pcm.size(), most));
  m_pSinkInput = m_pSink->start();
  if (!m_pSinkInput || IsFailure(m_pSink->error())) {
    m_nLostError = waveout::kOk;
    m_pSinkInput = nullptr;
    return waveout::kDeviceLost;
  }
  Feed();
  if (m_nFed < m_pcm.size()) m_feedTimer.start();
  return waveout::kOk;
}

void QtWaveOut::Feed() {
  while (m_pSinkInput && m_nFed < m_pcm.size()) {
    const qsizetype room = std::min<qsizetype>(m_pSink->bytesFree(), m_pcm.size() - m_nFed);
    if (room <= 0) break;
    const qint64 written = m_pSinkInput->write(m_pcm.constData() + m_nFed, room);
    if (written <= 0) break;
    m_nFed += written;
  }
  if (m_nFed >= m_pcm.size()) m_feedTimer.stop();
}

void QtWaveOut::Reset() {
  m_feedTimer.stop();
  m_pcm.clear();
  m_nFed = 0;
  m_pSinkInput = nullptr;
  if (!m_pSink) return;
  // reset() drops what the sink and the server still hold; stop() then ends the stream.
  m_pSink->reset();
  m_pSink->stop();
}

void QtWaveOut::Close() {
  Reset();
  m_pSink.reset();
}

}  // namespace verbaro
