#include "app/StartLesson.h"

#include <QFileInfo>
#include <utility>

namespace verbaro {

void StartLesson::SetPath(const QString& path) {
  m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

bool StartLesson::ArmFor(int modeIndex) {
  if (m_path.isEmpty() || modeIndex < 0 || modeIndex >= static_cast<int>(m_opened.size())) {
    return false;
  }
  bool& opened = m_opened[static_cast<size_t>(modeIndex)];
  if (opened) return false;
  opened = true;
  m_armed = m_path;
  return true;
}

std::optional<QString> StartLesson::ChooseLessonFile(QWidget* owner) {
  if (m_armed) return *std::exchange(m_armed, std::nullopt);
  return m_dialog ? m_dialog->ChooseLessonFile(owner) : std::nullopt;
}

std::optional<QString> StartLesson::ChooseFile(QWidget* owner, const FileChoice& choice) {
  return m_dialog ? m_dialog->ChooseFile(owner, choice) : std::nullopt;
}

}  // namespace verbaro
