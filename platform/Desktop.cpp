#include "platform/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace verbaro {

void QtBeeper::Beep() { QApplication::beep(); }

void QtUrlOpener::Open(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

}  // namespace verbaro
