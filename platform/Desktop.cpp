#include "platform/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <ctime>

namespace verbaro {

int64_t SystemClock::NowSeconds() const { return static_cast<int64_t>(std::time(nullptr)); }

void QtBeeper::Beep() { QApplication::beep(); }

void QtUrlOpener::Open(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

}  // namespace verbaro
