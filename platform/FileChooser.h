#pragma once
// The open-file dialog: filters "Db-файлы (*.db)" and "All Files (*.*)", default extension "db",
// starting in the process's current folder. Returns the chosen path or nothing on cancel.
#include <QString>
#include <optional>
#include <vector>

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

// Answers with the queued paths in turn (nothing = cancel), and counts the requests.
class FakeFileChooser : public FileChooser {
 public:
  std::vector<std::optional<QString>> answers;
  int requests = 0;
  std::optional<QString> ChooseLessonFile(QWidget*) override {
    ++requests;
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

}  // namespace verbaro
