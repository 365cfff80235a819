#include "app/LessonStatisticsCommand.h"

#include <filesystem>

#include "data/DiagnosticLog.h"
#include "data/StudyStatistics.h"
#include "data/progress/TypingGrade.h"
#include "platform/MessageBoxes.h"
#include "progressview/StatisticsWindow.h"
#include "views/WordsView.h"

namespace verbaro {

std::optional<progress::Direction> ShowLessonStatistics(QWidget* owner, const Platform& platform,
                                                        const CWordsView* view, int modeIndex,
                                                        const progress::LessonProgress* progress) {
  const std::optional<StudyMode> mode = ModeOfIndex(modeIndex);
  if (!view || view->m_vWordsData.empty() || !progress || !mode) {
    platform.messages->Show(owner, QStringLiteral("Информация"),
                            QStringLiteral("Требуется загрузка данных!"));
    return std::nullopt;
  }
  // The tab of the direction the mode's answers count for comes first.
  const progress::Direction direction = progress::GradedDirectionOfMode(*mode);
  const LessonStatistics statistics =
      GatherStatistics(*progress, TranslationsOf(view->m_vWordsData, view->m_bContraVersa != 0),
                       std::filesystem::path(view->m_szDataFile).filename().u16string());
  if (platform.log) platform.log->Line(StatisticsLogLine(statistics.Of(direction).counts));

  StatisticsWindow window(statistics, direction, owner);
  std::optional<progress::Direction> review;
  QObject::connect(&window, &StatisticsWindow::ReviewHardestRequested, &window,
                   [&](progress::Direction tab) {
                     review = tab;
                     window.accept();
                   });
  window.exec();
  return review;
}

int ReviewModeOf(int modeIndex, progress::Direction direction) {
  const int first = modeIndex / 2 * 2;  // Конспект-1, Видео-1 or Экзамен-1
  // A Конспект mode grades the direction opposite to its own: the hidden word is recalled.
  return progress::GradedDirectionOfMode(static_cast<StudyMode>(first)) == direction ? first
                                                                                     : first + 1;
}

}  // namespace verbaro
