#include "platform/QtErrorSignal.h"

#include <QSoundEffect>

namespace verbaro {

QtErrorSignal::QtErrorSignal(const QUrl& source) : m_pEffect(std::make_unique<QSoundEffect>()) {
  m_pEffect->setSource(source);
}

QtErrorSignal::~QtErrorSignal() = default;

void QtErrorSignal::Play() {
  m_pEffect->stop();
  m_pEffect->play();
}

bool QtErrorSignal::IsLoaded() const { return m_pEffect->status() == QSoundEffect::Ready; }

bool QtErrorSignal::HasFailed() const { return m_pEffect->status() == QSoundEffect::Error; }

}  // namespace verbaro
