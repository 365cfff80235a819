#include "progressview/DirectionPanel.h"

#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "data/FilterKinds.h"
#include "platform/QtText.h"
#include "progressview/CalendarHeatmap.h"
#include "progressview/KeyboardHeatmap.h"
#include "progressview/ProgressCharts.h"

namespace verbaro {

namespace {

QGroupBox* Box(const QString& title, QWidget* content, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(content);
  return box;
}

QTreeWidget* Table(const QStringList& headers, QWidget* parent) {
  auto* table = new QTreeWidget(parent);
  table->setRootIsDecorated(false);
  table->setHeaderLabels(headers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setFocusPolicy(Qt::NoFocus);
  table->header()->setStretchLastSection(false);
  return table;
}

}  // namespace

QString CharacterText(const std::u16string& text) {
  if (text == u" ") return QStringLiteral("пробел");
  QString shown = ToQ(text);
  if (!shown.isEmpty() && shown.front().isMark()) shown.prepend(QChar(0x25CC));
  return shown;
}

QString DaysText(int days) {
  const int lastTwo = std::abs(days) % 100;
  const int last = lastTwo % 10;
  const char16_t* word = u"дней";
  if (lastTwo < 11 || lastTwo > 14) {
    if (last == 1) word = u"день";
    else if (last >= 2 && last <= 4) word = u"дня";
  }
  return QString::number(days) + u' ' + QString::fromUtf16(word);
}

QString ExamTimeText(int64_t secondsSinceEpoch) {
  return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch)
      .toString(QStringLiteral("dd.MM.yy HH:mm"));
}

DirectionPanel::DirectionPanel(const LessonStatistics& lesson, progress::Direction direction,
                               QWidget* parent)
    : QWidget(parent), m_direction(direction) {
  const DirectionStatistics& statistics = lesson.Of(direction);
  // What the learner typed: French in the "-1" modes, Russian in the "-2" modes.
  const Alphabet typed =
      direction == progress::Direction::Forward ? Alphabet::French : Alphabet::Russian;
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setSpacing(8);
  grid->addWidget(Box(QStringLiteral("Итоги и дни занятий"), MakeSummary(lesson, statistics), this),
                  0, 0);
  grid->addWidget(Box(QStringLiteral("Ответы за 90 дней"),
                      MakeAnswersChart(LastDays(statistics.days, kChartDays), this), this),
                  0, 1);
  grid->addWidget(Box(QStringLiteral("К повторению в ближайшие 14 дней"),
                      MakeForecastChart(statistics.dueForecast, lesson.today, this), this),
                  0, 2);
  grid->addWidget(Box(QStringLiteral("Ошибки при наборе: ожидалось → набрано"),
                      MakeMisses(statistics, typed), this),
                  1, 0);
  grid->addWidget(Box(QStringLiteral("Самые трудные записи"), MakeHardest(statistics), this), 1, 1);
  grid->addWidget(Box(QStringLiteral("Экзамены"), MakeExams(statistics), this), 1, 2);
  for (int column = 0; column < 3; ++column) grid->setColumnStretch(column, 1);
  grid->setRowStretch(0, 1);
  grid->setRowStretch(1, 1);
}

QWidget* DirectionPanel::MakeSummary(const LessonStatistics& lesson,
                                     const DirectionStatistics& statistics) {
  auto* panel = new QWidget(this);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);

  const progress::EntryCounts& counts = statistics.counts;
  auto* numbers = new QGridLayout;
  const auto add = [&](int row, int column, const QString& name, const QString& value) {
    auto* label = new QLabel(name, panel);
    auto* number = new QLabel(QStringLiteral("<b>%1</b>").arg(value), panel);
    number->setObjectName(name);
    numbers->addWidget(label, row, 2 * column);
    numbers->addWidget(number, row, 2 * column + 1);
  };
  add(0, 0, QStringLiteral("Новых:"), QString::number(counts.fresh));
  add(0, 1, QStringLiteral("Изучается:"), QString::number(counts.learning));
  add(0, 2, QStringLiteral("Выучено:"), QString::number(counts.learnt));
  // Due and new apart, as the Filters menu's «На сегодня (N)» adds them up.
  add(1, 0, QStringLiteral("На сегодня:"), ToQ(DueTodayText(counts)));
  add(1, 1, QStringLiteral("Точность:"),
      counts.answers > 0
          ? QString::number(std::lround(100 * Accuracy(counts))) + QStringLiteral(" %")
          : QStringLiteral("—"));
  add(1, 2, QStringLiteral("Ответов:"), QString::number(counts.answers));
  layout->addLayout(numbers);

  auto* calendar = new CalendarHeatmap(panel);
  calendar->SetDays(statistics.days, lesson.today);
  layout->addWidget(calendar);

  const progress::StudyStreaks& streaks = statistics.streaks;
  auto* streakText = new QLabel(QStringLiteral("Серия: %1 подряд; самая длинная: %2")
                                    .arg(DaysText(streaks.current), DaysText(streaks.longest)),
                                panel);
  streakText->setObjectName(QStringLiteral("streaks"));
  layout->addWidget(streakText);
  layout->addStretch(1);
  return panel;
}

QWidget* DirectionPanel::MakeMisses(const DirectionStatistics& statistics, Alphabet typed) {
  auto* panel = new QWidget(this);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* keyboard = new KeyboardHeatmap(panel);
  keyboard->SetKeys(KeyboardRows(typed), MissesByKey(statistics.missed));
  layout->addWidget(keyboard, 1);

  QStringList lines;
  const size_t shown = std::min<size_t>(statistics.missed.size(), kTopMisses);
  for (size_t i = 0; i < shown; ++i) {
    const progress::CharacterMiss& miss = statistics.missed[i];
    lines << QStringLiteral("%1 → %2&nbsp;&nbsp;<b>%3</b>")
                 .arg(CharacterText(miss.expected).toHtmlEscaped(),
                      CharacterText(miss.typed).toHtmlEscaped(), QString::number(miss.count));
  }
  auto* top = new QLabel(lines.isEmpty() ? QStringLiteral("Ошибок при наборе пока нет.")
                                         : lines.join(QStringLiteral("<br>")),
                         panel);
  top->setObjectName(QStringLiteral("topMisses"));
  top->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(top, 0);
  return panel;
}

QWidget* DirectionPanel::MakeHardest(const DirectionStatistics& statistics) {
  auto* panel = new QWidget(this);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  QTreeWidget* table = Table({QStringLiteral("Слово"), QStringLiteral("Перевод"),
                              QStringLiteral("Забыто"), QStringLiteral("Ошибок")},
                             panel);
  table->setObjectName(QStringLiteral("hardest"));
  const size_t shown = std::min<size_t>(statistics.hardest.size(), kHardestShown);
  for (size_t i = 0; i < shown; ++i) {
    const HardEntryText& entry = statistics.hardest[i];
    auto* item =
        new QTreeWidgetItem(table, {ToQ(entry.word), ToQ(entry.translation),
                                    QString::number(entry.lapses), QString::number(entry.misses)});
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    // A narrow column elides a long word or translation; the tooltip reads it whole.
    const QString whole =
        entry.translation.empty() ? ToQ(entry.word) : ToQ(entry.word + u" — " + entry.translation);
    for (int column = 0; column < 4; ++column) item->setToolTip(column, whole);
  }
  table->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  table->header()->setSectionResizeMode(1, QHeaderView::Stretch);
  table->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  table->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
  layout->addWidget(table);
  m_review = new QPushButton(QStringLiteral("Повторить их"), panel);
  m_review->setEnabled(shown > 0);
  m_review->setToolTip(QStringLiteral("Повторить эти записи в режиме этого направления"));
  connect(m_review, &QPushButton::clicked, this,
          [this] { emit ReviewHardestRequested(m_direction); });
  layout->addWidget(m_review, 0, Qt::AlignRight);
  return panel;
}

QWidget* DirectionPanel::MakeExams(const DirectionStatistics& statistics) {
  // The filter, the one long text, comes last: the numbers stay in sight, and a name wider than
  // the box is scrolled to, never elided.
  QTreeWidget* table =
      Table({QStringLiteral("Дата"), QStringLiteral("Режим"), QStringLiteral("Верно"),
             QStringLiteral("Неверно"), QStringLiteral("Подсказок"), QStringLiteral("Фильтр")},
            this);
  table->setObjectName(QStringLiteral("exams"));
  for (const progress::ExamRecord& exam : statistics.exams) {
    const progress::ExamResult& result = exam.result;
    // The filter as the learner reads it, without the menu's "&".
    const QString filter = ToQ(WithoutMnemonic(result.filterName));
    const QString mode = ToQ(ExamModeName(result.mode));
    auto* item = new QTreeWidgetItem(
        table, {ExamTimeText(exam.at), mode, QString::number(result.right),
                QString::number(result.wrong), QString::number(result.hints), filter});
    for (int column = 2; column < 5; ++column)
      item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    const QString whole = QStringLiteral("%1, %2, «%3»: верно %4, неверно %5, подсказок %6")
                              .arg(ExamTimeText(exam.at), mode, filter)
                              .arg(result.right)
                              .arg(result.wrong)
                              .arg(result.hints);
    for (int column = 0; column < 6; ++column) item->setToolTip(column, whole);
  }
  table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return table;
}

}  // namespace verbaro
