#pragma once
// The lesson given on the command line ("verbaro LESSON.db", or a file manager's "Open with").
// Each mode opens it once, when the mode is first shown, exactly as Ctrl+O would with that file
// chosen: the open dialog of that one opening answers with the path by itself; every later Ctrl+O
// shows the real dialog.
#include <QString>
#include <array>
#include <optional>

#include "data/StudyMode.h"
#include "platform/FileChooser.h"

namespace verbaro {

class StartLesson : public FileChooser {
 public:
  explicit StartLesson(FileChooser* dialog) : m_dialog(dialog) {}

  // The path as given; a relative one is taken from the current folder. Empty: no lesson.
  void SetPath(const QString& path);
  const QString& Path() const { return m_path; }

  // True the first time it is asked for a mode when a path is set: the next file choice then
  // answers with the path. False for every later call.
  bool ArmFor(int modeIndex);
  // The next file choice answers with `path`, once (a remembered lesson).
  void ArmWith(const QString& path) { m_armed = path; }
  // Drops an armed answer that no file choice took.
  void Disarm() { m_armed.reset(); }

  std::optional<QString> ChooseLessonFile(QWidget* owner) override;
  // Other files are always the learner's own choice.
  std::optional<QString> ChooseFile(QWidget* owner, const FileChoice& choice) override;

 private:
  FileChooser* m_dialog;
  QString m_path;
  std::optional<QString> m_armed;
  std::array<bool, kModeCount> m_opened{};
};

}  // namespace verbaro
