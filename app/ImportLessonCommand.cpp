#include "app/ImportLessonCommand.h"

#include <QCoreApplication>
#include <QDir>

#include "app/ImportToolCommand.h"
#include "app/ImportWindow.h"
#include "platform/DialogPlacement.h"
#include "platform/FileChooser.h"
#include "platform/MessageBoxes.h"

namespace verbaro {

QStringList ImportSourceFilters() {
  return {QStringLiteral("Все поддерживаемые (*.apkg *.colpkg *.kvtml *.csv *.tsv *.txt)"),
          QStringLiteral("Колоды Anki (*.apkg *.colpkg)"),
          QStringLiteral("Словари KVTML (*.kvtml)"), QStringLiteral("Таблицы (*.csv *.tsv *.txt)")};
}

QString LessonToolOfThisProgram() {
  return FindLessonTool(QCoreApplication::applicationDirPath(),
                        qEnvironmentVariable(kLessonToolVariable));
}

std::optional<QString> RunImportLesson(QWidget* owner, const Platform& platform,
                                       const QString& tool) {
  if (tool.isEmpty()) {
    platform.messages->ShowError(owner,
                                 MissingLessonToolText(QCoreApplication::applicationDirPath()));
    return std::nullopt;
  }
  if (!platform.files) return std::nullopt;
  FileChoice choice;
  choice.title = QStringLiteral("Выбор файла для импорта");
  choice.filters = ImportSourceFilters();
  choice.start = QDir::currentPath();
  const std::optional<QString> source = platform.files->ChooseFile(owner, choice);
  if (!source) return std::nullopt;

  ImportWindow window(*source, tool, platform, owner);
  const int result = ExecDialog(window);
  if (!window.Failure().isEmpty()) {
    platform.messages->ShowError(owner, window.Failure());
    return std::nullopt;
  }
  if (result != QDialog::Accepted) return std::nullopt;
  platform.messages->Show(owner, QStringLiteral("Информация"),
                          ImportReportText(window.Report(), window.LessonPath()));
  return window.LessonPath();
}

}  // namespace verbaro
