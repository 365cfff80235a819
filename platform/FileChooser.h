#pragma once
// The open-file dialog: filters "Db-файлы (*.db)" and "All Files (*.*)", default extension "db",
// starting in the process's current folder. Returns the chosen path or nothing on cancel.
#include <QString>
#include <optional>
#include <QStringList>

class QWidget;

namespace verbaro {

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  virtual std::optional<QString> ChooseLessonFile(QWidget* owner) = 0;
};

class QtFileChooser : public FileChooser {
 public:
  std::optional<QString> ChooseLessonFile(QWidget* owner) override;
};

}  // namespace verbaro
