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

}  // namespace verbaro
