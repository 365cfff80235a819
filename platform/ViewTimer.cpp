#include "platform/ViewTimer.h"

#include <QTimer>

namespace verbaro {

QtViewTimer::QtViewTimer() : m_timer(std::make_unique<QTimer>()) {
  m_timer->setSingleShot(true);
  m_timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(m_timer.get(), &QTimer::timeout, [this] {
    if (onTimeout) onTimeout();
  });
}

QtViewTimer::~QtViewTimer() = default;

void QtViewTimer::Start(unsigned milliseconds) {
  m_timer->start(static_cast<int>(std::min<unsigned>(milliseconds, 0x7FFFFFFF)));
}

void QtViewTimer::Kill() { m_timer->stop(); }

bool QtViewTimer::IsActive() const { return m_timer->isActive(); }

}  // namespace verbaro
