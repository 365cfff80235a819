// Verbaro: a trainer for memorising French words and phrases.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>

#include "app/MainFrame.h"
#include "app/ProgressSync.h"
#include "app/QtPlatform.h"
#include "app/Run.h"
#include "app/UserSettings.h"
#include "data/progress/ProgressStore.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("verbaro"));
  // The desktop finds the program's entry and icon by this name (the Wayland app id). No display
  // name is set: Qt would append it to every window title, and the titles are the program's own.
  QGuiApplication::setDesktopFileName(QStringLiteral("verbaro"));

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
  // "verbaro LESSON.db" (also a file manager's "Open with") opens that lesson in every mode as
  // the mode is first shown; without it no lesson opens by itself.
  const QStringList arguments = QApplication::arguments();
  const QString lesson = arguments.size() > 1 ? arguments.at(1) : QString();
  // The learner's settings in $XDG_CONFIG_HOME; the frame goes before them.
  verbaro::UserSettings settings(verbaro::UserSettings::DefaultFile());
  // The learner's progress in $XDG_DATA_HOME/verbaro/progress.sqlite; a store that cannot be
  // used still opens, keeps nothing and says why when a lesson is opened.
  const std::string storePath = verbaro::progress::ProgressStore::DefaultPath();
  const std::unique_ptr<verbaro::progress::ProgressStore> store =
      verbaro::progress::ProgressStore::Open(storePath, *platform.Get().clock);
  // Progress that follows the learner through the folder of [sync] folder= in the settings.
  verbaro::ProgressSync sync(storePath, *platform.Get().clock, &settings);
  return verbaro::Run(app, platform.Get(), [&](const verbaro::Platform& p) {
    auto frame = std::make_unique<verbaro::CMainFrame>(p);
    frame->SetStartLesson(lesson);
    frame->UseSettings(&settings);
    frame->UseProgressStore(store.get());
    frame->UseProgressSync(&sync);
    return frame;
  });
}
