// Verbaro: a trainer for memorising French words and phrases.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>

#include "app/MainFrame.h"
#include "app/Run.h"
#include "app/QtPlatform.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);  // the command line is not read: no lesson opens by itself
  QApplication::setApplicationName(QStringLiteral("verbaro"));
  QApplication::setApplicationDisplayName(QStringLiteral("Verbaro"));

  // Qt's own dialogs (the file chooser, button texts) speak Russian like the rest of the program.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(&qtTranslator);
  }

  verbaro::QtPlatform platform;
  if (const char* logPath = std::getenv("VERBARO_LOG"); logPath && *logPath) {
    platform.AttachLog(logPath);
  }
  return verbaro::Run(app, platform.Get(), [](const verbaro::Platform& p) {
    return std::make_unique<verbaro::CMainFrame>(p);
  });
}
