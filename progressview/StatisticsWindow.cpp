#include "progressview/StatisticsWindow.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/QtText.h"
#include "progressview/DirectionPanel.h"

namespace verbaro {

QString StatisticsWindow::TitleFor(const std::u16string& lessonName) {
  return QStringLiteral("Статистика: ") + ToQ(lessonName);
}

StatisticsWindow::StatisticsWindow(const LessonStatistics& statistics,
                                   progress::Direction first, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(TitleFor(statistics.lessonName));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  m_directions = new QTabWidget(this);
  layout->addWidget(m_directions);

  const std::vector<progress::DayActivity> calendarDays =
      AddDays(statistics.forward.days, statistics.reverse.days);
  const auto addDirection = [&](progress::Direction direction) {
    auto* panel = new DirectionPanel(statistics, direction, calendarDays, m_directions);
    connect(panel, &DirectionPanel::ReviewMistakesRequested, this,
            &StatisticsWindow::ReviewMistakesRequested);
    m_directions->addTab(panel, direction == progress::Direction::Forward
                                    ? QStringLiteral("Французский → русский")
                                    : QStringLiteral("Русский → французский"));
  };
  using progress::Direction;
  addDirection(first);
  addDirection(first == Direction::Forward ? Direction::Reverse : Direction::Forward);
  resize(1240, 700);
}

}  // namespace verbaro
