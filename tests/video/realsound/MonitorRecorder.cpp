#include "MonitorRecorder.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMediaDevices>
#include <QTest>
#include <cmath>
#include <cstring>
#include <optional>

namespace verbaro::test {

namespace {

// Runs pactl; its trimmed output, or nothing when it fails.
std::optional<QString> Pactl(const QStringList& arguments) {
  QProcess pactl;
  pactl.start(QStringLiteral("pactl"), arguments);
  if (!pactl.waitForFinished(5000)) {
    pactl.kill();
    pactl.waitForFinished();
    return std::nullopt;
  }
  if (pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0) return std::nullopt;
  return QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
}

}  // namespace

bool SoundServerAnswers() { return Pactl({QStringLiteral("info")}).has_value(); }

PrivateNullSink::PrivateNullSink()
    : m_name(QStringLiteral("verbaro_video_%1").arg(QCoreApplication::applicationPid())) {}

PrivateNullSink::~PrivateNullSink() {
  if (!m_module.isEmpty()) Pactl({QStringLiteral("unload-module"), m_module});
}

bool PrivateNullSink::Load(QString* reason) {
  const std::optional<QString> module =
      Pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
             QStringLiteral("sink_name=") + m_name});
  if (!module) {
    *reason = QStringLiteral("the sound server does not load a null sink");
    return false;
  }
  m_module = *module;
  const QDeadlineTimer deadline(5000);
  while (!deadline.hasExpired()) {
    for (const QAudioDevice& device : QMediaDevices::audioOutputs()) {
      if (device.id() == DeviceId()) return true;
    }
    QTest::qWait(50);
  }
  *reason = QStringLiteral("Qt does not list the null sink ") + m_name;
  return false;
}

MonitorRecorder::~MonitorRecorder() {
  if (m_process.state() != QProcess::NotRunning) {
    m_process.kill();
    m_process.waitForFinished();
  }
}

bool MonitorRecorder::Start(const QString& source, QString* reason) {
  m_process.start(QStringLiteral("parec"),
                  {QStringLiteral("--device=") + source, QStringLiteral("--raw"),
                   QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                   QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
  if (!m_process.waitForStarted(5000)) {
    *reason = QStringLiteral("parec does not start: ") + m_process.errorString();
    return false;
  }
  // The monitor delivers silence while nothing plays; the first bytes show that it records.
  const QDeadlineTimer deadline(5000);
  while (m_process.bytesAvailable() == 0 && !deadline.hasExpired()) {
    if (m_process.state() == QProcess::NotRunning) {
      *reason = QStringLiteral("parec ended: ") +
                QString::fromLocal8Bit(m_process.readAllStandardError());
      return false;
    }
    m_process.waitForReadyRead(100);
  }
  if (m_process.bytesAvailable() == 0) {
    *reason = QStringLiteral("the sink monitor delivers nothing");
    return false;
  }
  return true;
}

std::vector<int16_t> MonitorRecorder::Stop() {
  m_data += m_process.readAllStandardOutput();
  m_process.terminate();
  m_process.waitForFinished(5000);
  m_data += m_process.readAllStandardOutput();
  std::vector<int16_t> samples(static_cast<size_t>(m_data.size()) / sizeof(int16_t));
  std::memcpy(samples.data(), m_data.constData(), samples.size() * sizeof(int16_t));
  return samples;
}

std::vector<SoundBurst> FindBursts(const std::vector<int16_t>& samples, int rate,
                                   double threshold, double joinSeconds) {
  const size_t window = static_cast<size_t>(rate / 100);
  // Loud windows as [first, last) sample ranges, joined across short gaps.
  std::vector<std::pair<size_t, size_t>> ranges;
  for (size_t start = 0; start + window <= samples.size(); start += window) {
    double sum = 0;
    for (size_t i = start; i < start + window; ++i) sum += double(samples[i]) * samples[i];
    if (std::sqrt(sum / double(window)) < threshold) continue;
    const auto join = static_cast<size_t>(joinSeconds * rate);
    if (!ranges.empty() && start <= ranges.back().second + join) {
      ranges.back().second = start + window;
    } else {
      ranges.push_back({start, start + window});
    }
  }
  std::vector<SoundBurst> bursts;
  for (const auto& [first, last] : ranges) {
    if (last - first < static_cast<size_t>(rate / 20)) continue;
    size_t crossings = 0;
    for (size_t i = first + 1; i < last; ++i) {
      if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
    }
    const double seconds = double(last - first) / rate;
    bursts.push_back({double(first) / rate, double(last) / rate, crossings / (2 * seconds)});
  }
  return bursts;
}

}  // namespace verbaro::test
