#pragma once
// Driving the modal import window that a command opens: the test's step runs once the window is
// up and has read its source.
#include <QApplication>
#include <QTimer>
#include <functional>

#include "app/ImportWindow.h"

namespace verbaro::test {

inline void WhenImportWindowIsReady(const std::function<void(ImportWindow&)>& step) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, step] {
    auto* window = qobject_cast<ImportWindow*>(QApplication::activeModalWidget());
    if (!window || window->Busy()) return;
    timer->stop();
    timer->deleteLater();
    step(*window);
  });
  timer->start();
}

}  // namespace verbaro::test
