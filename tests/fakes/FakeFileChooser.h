#pragma once
// An open-file dialog that answers from a queue.
#include <QStringList>
#include <vector>

#include "platform/FileChooser.h"

namespace verbaro {

// Answers with the queued paths in turn (a null QString or an empty queue = cancel), and counts
// the requests; the lesson dialog and the other choices share the queue, and the other choices
// are kept as they were asked.
class FakeFileChooser : public FileChooser {
 public:
  QStringList answers;
  int requests = 0;
  std::vector<FileChoice> choices;
  std::optional<QString> ChooseLessonFile(QWidget* owner) override;
  std::optional<QString> ChooseFile(QWidget* owner, const FileChoice& choice) override;
};

}  // namespace verbaro
