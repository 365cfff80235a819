#pragma once
// The open-file dialog: filters "Db-файлы (*.db)" and "All Files (*.*)", default extension "db",
// starting in the process's current folder. Returns the chosen path or nothing on cancel.
//
// ChooseFile serves the program's other files (a word source to import, where to save a new
// lesson) with their own title, filters and starting place.
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace verbaro {

struct FileChoice {
  QString title;
  QStringList filters;    // "Name (*.a *.b)", the first one selected
  QString start;          // the folder, or the file's path, that the dialog starts at
  QString defaultSuffix;  // added to a typed name without one
  bool save = false;      // a new file's name (no existence check) instead of an existing file
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  virtual std::optional<QString> ChooseLessonFile(QWidget* owner) = 0;
  // A chooser made for lessons alone declines every other choice: nothing is chosen.
  virtual std::optional<QString> ChooseFile(QWidget* owner, const FileChoice& choice);
};

class QtFileChooser : public FileChooser {
 public:
  std::optional<QString> ChooseLessonFile(QWidget* owner) override;
  std::optional<QString> ChooseFile(QWidget* owner, const FileChoice& choice) override;
};

}  // namespace verbaro
