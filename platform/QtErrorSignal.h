#pragma once
// The error signal played with QSoundEffect: the short built-in warning tone, loaded once,
// started with low latency and restarted (cutting off the previous one) on every Play.
#include <QUrl>
#include <memory>

#include "platform/ErrorSignal.h"

class QSoundEffect;

namespace verbaro {

class QtErrorSignal : public ErrorSignal {
 public:
  static QUrl DefaultSource() { return QUrl(QStringLiteral("qrc:/WAVE/612")); }

  explicit QtErrorSignal(const QUrl& source = DefaultSource());
  ~QtErrorSignal() override;
  void Play() override;

  // True once the sound has been read and can be played (loading is asynchronous).
  bool IsLoaded() const;
  // True when the sound could not be read.
  bool HasFailed() const;

 private:
  std::unique_ptr<QSoundEffect> m_pEffect;
};

}  // namespace verbaro
