#include "progressview/StatisticsWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/QtText.h"
#include "progressview/DirectionPanel.h"

namespace verbaro {

QString StatisticsWindow::TitleFor(const std::u16string& lessonName) {
  return QStringLiteral("Статистика: ") + ToQ(lessonName);
}

StatisticsWindow::StatisticsWindow(const LessonStatistics& statistics, progress::Direction first,
                                   QWidget* parent)
    : QDialog(parent), m_statistics(statistics), m_first(first) {
  setWindowTitle(TitleFor(statistics.lessonName));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  m_directions = new QTabWidget(this);
  layout->addWidget(m_directions);

  using progress::Direction;
  const Direction second = first == Direction::Forward ? Direction::Reverse : Direction::Forward;
  for (const Direction direction : {first, second}) {
    m_directions->addTab(new QWidget(m_directions), direction == Direction::Forward
                                                        ? QStringLiteral("Французский → русский")
                                                        : QStringLiteral("Русский → французский"));
  }
  FillTab(0);
  connect(m_directions, &QTabWidget::currentChanged, this, &StatisticsWindow::FillTab);
  // As large as the screen allows up to 1800 x 1000 pixels: the tables and the keyboard show
  // more of themselves the more room they have.
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const QSize available =
      screen ? screen->availableGeometry().size() - QSize(16, 60) : QSize(1240, 700);
  resize(std::clamp(available.width(), 900, 1800), std::clamp(available.height(), 600, 1000));
}

DirectionPanel* StatisticsWindow::PanelAt(int index) {
  FillTab(index);
  QWidget* tab = m_directions->widget(index);
  return tab ? tab->findChild<DirectionPanel*>() : nullptr;
}

void StatisticsWindow::FillTab(int index) {
  QWidget* tab = m_directions->widget(index);
  if (!tab || tab->layout()) return;
  using progress::Direction;
  const Direction direction =
      index == 0 ? m_first
                 : (m_first == Direction::Forward ? Direction::Reverse : Direction::Forward);
  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* panel = new DirectionPanel(m_statistics, direction, tab);
  connect(panel, &DirectionPanel::ReviewHardestRequested, this,
          &StatisticsWindow::ReviewHardestRequested);
  layout->addWidget(panel);
}

}  // namespace verbaro
