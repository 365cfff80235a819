#include "platform/WorkArea.h"

#include <QGuiApplication>
#include <QScreen>

namespace verbaro {

QRect QtWorkArea::Get() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

}  // namespace verbaro
