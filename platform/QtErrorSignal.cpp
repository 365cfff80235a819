#include "platform/QtErrorSignal.h"

#include <QFile>
#include <QtEndian>
#include <optional>

#include "platform/PulseWaveOut.h"

namespace verbaro {
namespace {

uint32_t Le32(const char* p) { return qFromLittleEndian<quint32>(p); }
uint16_t Le16(const char* p) { return qFromLittleEndian<quint16>(p); }

struct Wave {
  PcmFormat format;
  QByteArray pcm;
};

// Walks the RIFF chunks for the format and the samples of an uncompressed PCM wave.
std::optional<Wave> ParsePcmWave(const QByteArray& file) {
  if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE") return {};
  std::optional<PcmFormat> format;
  qsizetype at = 12;
  while (at + 8 <= file.size()) {
    const QByteArray id = file.mid(at, 4);
    const qsizetype size = Le32(file.constData() + at + 4);
    const qsizetype body = at + 8;
    if (size > file.size() - body) return {};
    if (id == "fmt " && size >= 16) {
      const char* f = file.constData() + body;
      if (Le16(f) != 1) return {};  // not PCM
      format = PcmFormat{Le16(f + 2), static_cast<int>(Le32(f + 4)), Le16(f + 14)};
    } else if (id == "data" && format) {
      const qsizetype frame = qsizetype{format->channels} * format->bitsPerSample / 8;
      if (frame <= 0) return {};
      return Wave{*format, file.mid(body, size / frame * frame)};
    }
    at = body + size + (size & 1);
  }
  return {};
}

}  // namespace

QtErrorSignal::QtErrorSignal(const QString& source, WaveOutFactory makeWaveOut) {
  QFile file(source);
  if (file.open(QIODevice::ReadOnly)) {
    if (std::optional<Wave> wave = ParsePcmWave(file.readAll())) {
      m_format = wave->format;
      m_pcm = wave->pcm;
    }
  }
  m_out = makeWaveOut ? makeWaveOut() : std::make_unique<PulseWaveOut>();
}

QtErrorSignal::~QtErrorSignal() = default;

void QtErrorSignal::Play() {
  if (!IsLoaded() || !m_out) return;
  // The device opens on first use and again after a failure (a sound server that came later).
  if (!m_out->IsOpen() && m_out->Open(m_format) != waveout::kOk) return;
  m_out->Reset();
  const int written = m_out->Write(reinterpret_cast<const uint8_t*>(m_pcm.constData()),
                                   static_cast<size_t>(m_pcm.size()));
  if (written != waveout::kOk) m_out->Close();
}

}  // namespace verbaro
