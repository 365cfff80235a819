#include "app/LessonStatisticsCommand.h"

#include <filesystem>

#include "data/DiagnosticLog.h"
#include "data/StudyStatistics.h"
#include "platform/MessageBoxes.h"
#include "progressview/StatisticsWindow.h"
#include "views/WordsView.h"

namespace verbaro {

std::optional<progress::Direction> ShowLessonStatistics(QWidget* owner, const Platform& platform,
                                                        const CWordsView* view, int modeIndex,
                                                        const progress::LessonProgress* progress) {
  if (!view || view->m_vWordsData.empty() || !progress) {
    platform.messages->Show(owner, QStringLiteral("Информация"),
                            QStringLiteral("Требуется загрузка данных!"));
    return std::nullopt;
  }
  const progress::Direction direction = progress::DirectionOfMode(modeIndex);
  const LessonStatistics statistics = GatherStatistics(
      *progress, TranslationsOf(view->m_vWordsData, view->m_bContraVersa != 0),
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
  const int kind = modeIndex / 2;  // Конспект, Видео, Экзамен
  return 2 * kind + (direction == progress::Direction::Reverse ? 1 : 0);
}

}  // namespace verbaro
