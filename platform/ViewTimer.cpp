#include "platform/ViewTimer.h"

#include <QTimer>

namespace verbaro {

QtViewTimer::QtViewTimer() : m_pTimer(std::make_unique<QTimer>()) {
  m_pTimer->setSingleShot(true);
  m_pTimer->setTimerType(Qt::PreciseTimer);
  QObject::connect(m_pTimer.get(), &QTimer::timeout, [this] {
    if (onTimeout) onTimeout();
  });
}

QtViewTimer::~QtViewTimer() = default;

void QtViewTimer::Start(unsigned milliseconds) {
  m_pTimer->start(static_cast<int>(std::min<unsigned>(milliseconds, 0x7FFFFFFF)));
}

void QtViewTimer::Kill() { m_pTimer->stop(); }

bool QtViewTimer::IsActive() const { return m_pTimer->isActive(); }

}  // namespace verbaro
