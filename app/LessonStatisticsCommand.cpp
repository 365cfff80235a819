#include "app/LessonStatisticsCommand.h"

#include <filesystem>

#include "data/DiagnosticLog.h"
#include "data/StudyStatistics.h"
#include "data/progress/TypingGrade.h"
#include "platform/MessageBoxes.h"
#include "progressview/StatisticsWindow.h"
#include "views/WordsView.h"

namespace verbaro {

bool ShowLessonStatistics(QWidget* owner, const Platform& platform, const CWordsView* view,
                          int modeIndex, const progress::LessonProgress* progress) {
  if (!view || view->m_vWordsData.empty() || !progress) {
    platform.messages->Show(owner, QStringLiteral("Информация"),
                            QStringLiteral("Требуется загрузка данных!"));
    return false;
  }
  // The tab of the direction the mode's answers count for comes first.
  const progress::Direction direction = progress::GradedDirectionOfMode(modeIndex);
  const LessonStatistics statistics = GatherStatistics(
      *progress, TranslationsOf(view->m_vWordsData, view->m_bContraVersa != 0),
      std::filesystem::path(view->m_szDataFile).filename().u16string());
  if (platform.log) platform.log->Line(StatisticsLogLine(statistics.Of(direction).counts));

  StatisticsWindow window(statistics, direction, owner);
  bool review = false;
  QObject::connect(&window, &StatisticsWindow::ReviewMistakesRequested, &window, [&] {
    review = true;
    window.accept();
  });
  window.exec();
  return review;
}

}  // namespace verbaro
