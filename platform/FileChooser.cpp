#include "platform/FileChooser.h"

#include <QDir>
#include <QFileDialog>

#include "platform/FileDialogWidth.h"

namespace verbaro {

std::optional<QString> QtFileChooser::ChooseLessonFile(QWidget* owner) {
  QFileDialog dialog(owner, QString(), QDir::currentPath(),
                     QStringLiteral("Db-файлы (*.db);;All Files (*)"));
  dialog.setFileMode(QFileDialog::AnyFile);  // no existence check, as the reader reports it
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setDefaultSuffix(QStringLiteral("db"));
  dialog.setSizeGripEnabled(true);
  FitDetailColumns(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

std::optional<QString> FileChooser::ChooseFile(QWidget*, const FileChoice&) { return std::nullopt; }

std::optional<QString> QtFileChooser::ChooseFile(QWidget* owner, const FileChoice& choice) {
  const QString start = choice.start.isEmpty() ? QDir::currentPath() : choice.start;
  QFileDialog dialog(owner, choice.title, start, choice.filters.join(QStringLiteral(";;")));
  if (choice.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Whoever asked for the name asks before replacing a file, once.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!choice.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(choice.defaultSuffix);
  dialog.setSizeGripEnabled(true);
  FitDetailColumns(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

}  // namespace verbaro
