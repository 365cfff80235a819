#include "tests/fakes/FakeFileChooser.h"

namespace verbaro {

std::optional<QString> FakeFileChooser::ChooseLessonFile(QWidget*) {
  ++requests;
  if (answers.isEmpty()) return std::nullopt;
  const QString answer = answers.takeFirst();
  if (answer.isNull()) return std::nullopt;
  return answer;
}

std::optional<QString> FakeFileChooser::ChooseFile(QWidget* owner, const FileChoice& choice) {
  choices.push_back(choice);
  return ChooseLessonFile(owner);
}

}  // namespace verbaro
