#pragma once
// The error signal: the built-in warning tone (a PCM wave resource) played on a wave output of
// its own, so that it sounds alongside the word and each Play restarts it from the beginning.
// Playing failures are silent: the tone is a hint, not worth a message box.
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

#include "platform/ErrorSignal.h"
#include "platform/WaveOut.h"

namespace verbaro {

class QtErrorSignal : public ErrorSignal {
 public:
  using WaveOutFactory = std::function<std::unique_ptr<WaveOut>()>;
  static QString DefaultSource() { return QStringLiteral(":/WAVE/612"); }

  // Reads the wave at once; makeWaveOut defaults to the Qt wave output.
  explicit QtErrorSignal(const QString& source = DefaultSource(), WaveOutFactory makeWaveOut = {});
  ~QtErrorSignal() override;
  void Play() override;

  // False when the source is missing or not a PCM wave: Play then does nothing.
  bool IsLoaded() const { return !m_pcm.isEmpty(); }
  const PcmFormat& Format() const { return m_format; }

 private:
  PcmFormat m_format;
  QByteArray m_pcm;
  std::unique_ptr<WaveOut> m_out;
};

}  // namespace verbaro
