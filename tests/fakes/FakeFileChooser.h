#pragma once
// An open-file dialog that answers from a queue.
#include <QStringList>

#include "platform/FileChooser.h"

namespace verbaro {

// Answers with the queued paths in turn (a null QString or an empty queue = cancel), and counts
// the requests.
class FakeFileChooser : public FileChooser {
 public:
  QStringList answers;
  int requests = 0;
  std::optional<QString> ChooseLessonFile(QWidget* owner) override;
};

}  // namespace verbaro
