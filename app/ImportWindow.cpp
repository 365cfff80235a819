#include "app/ImportWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/ToolProcess.h"
#include "data/DiagnosticLog.h"
#include "platform/DialogUnits.h"
#include "platform/FileChooser.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "platform/WorkArea.h"

namespace verbaro {

namespace {

constexpr int kDialogFontPointSize = 10;
const QString kCaption = QStringLiteral("Импорт урока");

enum TableColumn { kWordColumn, kGrammarColumn, kTranslationsColumn, kInfoColumn, kSoundColumn };

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  // A cell too narrow for its text still shows all of it under the mouse.
  item->setToolTip(text);
  return item;
}

QString OneLine(const QStringList& parts) {
  QStringList shown;
  for (const QString& part : parts) {
    if (!part.isEmpty()) shown.append(part);
  }
  return shown.join(QStringLiteral("; "));
}

bool SameFile(const QString& a, const QString& b) {
  const QFileInfo first(a);
  const QFileInfo second(b);
  if (first.exists() && second.exists()) {
    return first.canonicalFilePath() == second.canonicalFilePath();
  }
  return first.absoluteFilePath() == second.absoluteFilePath();
}

}  // namespace

ImportWindow::ImportWindow(const QString& source, const QString& tool, const Platform& platform,
                           QWidget* owner)
    : QDialog(owner),
      m_source(QFileInfo(source).absoluteFilePath()),
      m_tool(tool),
      m_platform(platform) {
  setWindowTitle(kCaption);
  setModal(true);
  setSizeGripEnabled(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QFont dialogFont = QApplication::font();
  dialogFont.setPointSize(kDialogFontPointSize);
  setFont(dialogFont);

  m_previewProcess = new ToolProcess(m_tool, this);
  connect(m_previewProcess, &ToolProcess::Finished, this, &ImportWindow::OnPreviewFinished);
  m_importProcess = new ToolProcess(m_tool, this);
  connect(m_importProcess, &ToolProcess::LineRead, this, &ImportWindow::OnImportLine);
  connect(m_importProcess, &ToolProcess::Finished, this, &ImportWindow::OnImportFinished);

  BuildLayout();
  SetStage(Stage::Reading, QStringLiteral("Чтение файла…"));
}

ImportWindow::~ImportWindow() = default;

void ImportWindow::BuildLayout() {
  const DialogUnits units(font());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
  layout->setSpacing(units.Y(4));

  m_formatLabel = new QLabel(this);
  m_formatLabel->setTextFormat(Qt::PlainText);
  m_formatLabel->setWordWrap(true);
  m_formatLabel->setText(QStringLiteral("Файл: %1").arg(QDir::toNativeSeparators(m_source)));
  layout->addWidget(m_formatLabel);

  auto* sides = new QHBoxLayout;
  sides->setSpacing(units.X(4));
  const auto addSide = [&](const QString& text, QComboBox*& box) {
    auto* label = new QLabel(text, this);
    box = new QComboBox(this);
    box->setMinimumContentsLength(16);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    label->setBuddy(box);
    sides->addWidget(label);
    sides->addWidget(box, 1);
  };
  addSide(QStringLiteral("Французский:"), m_frenchBox);
  sides->addSpacing(units.X(8));
  addSide(QStringLiteral("Русский:"), m_russianBox);
  layout->addLayout(sides);
  connect(m_frenchBox, &QComboBox::activated, this, [this] { OnSideChosen(true); });
  connect(m_russianBox, &QComboBox::activated, this, [this] { OnSideChosen(false); });

  m_ambiguousLabel = new QLabel(
      QStringLiteral("Проверьте, какой столбец французский, а какой русский: по файлу это "
                     "нельзя сказать наверняка."),
      this);
  m_ambiguousLabel->setWordWrap(true);
  m_ambiguousLabel->setStyleSheet(QStringLiteral("color: #a04000; font-weight: bold;"));
  m_ambiguousLabel->hide();
  layout->addWidget(m_ambiguousLabel);

  m_entriesLabel = new QLabel(this);
  layout->addWidget(m_entriesLabel);
  m_table = new QTableWidget(0, 5, this);
  m_table->setHorizontalHeaderLabels({QStringLiteral("Слово"), QStringLiteral("Грамматика"),
                                      QStringLiteral("Переводы"), QStringLiteral("Информация"),
                                      QStringLiteral("Запись")});
  m_table->verticalHeader()->hide();
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setWordWrap(false);
  m_table->setTabKeyNavigation(false);
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  m_table->horizontalHeader()->setSectionResizeMode(kTranslationsColumn, QHeaderView::Stretch);
  m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + units.Y(3));
  m_table->setMinimumHeight(units.Y(60));
  layout->addWidget(m_table, 1);

  m_countsLabel = new QLabel(this);
  m_countsLabel->setWordWrap(true);
  layout->addWidget(m_countsLabel);

  m_warningsLabel = new QLabel(QStringLiteral("Предупреждения:"), this);
  layout->addWidget(m_warningsLabel);
  m_warnings = new QPlainTextEdit(this);
  m_warnings->setReadOnly(true);
  m_warnings->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_warnings->setTabChangesFocus(true);
  m_warnings->setFixedHeight(units.Y(36));
  m_warningsLabel->setBuddy(m_warnings);
  layout->addWidget(m_warnings);
  m_warningsLabel->hide();
  m_warnings->hide();

  auto* output = new QHBoxLayout;
  output->setSpacing(units.X(4));
  auto* lessonLabel = new QLabel(QStringLiteral("Сохранить урок в:"), this);
  m_lessonField = new QLineEdit(QDir::toNativeSeparators(DefaultLessonPath(m_source)), this);
  lessonLabel->setBuddy(m_lessonField);
  m_browseButton = new QPushButton(QStringLiteral("Обзор..."), this);
  m_browseButton->setAutoDefault(false);
  connect(m_browseButton, &QPushButton::clicked, this, &ImportWindow::Browse);
  output->addWidget(lessonLabel);
  output->addWidget(m_lessonField, 1);
  output->addWidget(m_browseButton);
  layout->addLayout(output);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(units.X(4));
  m_statusLabel = new QLabel(this);
  m_progress = new QProgressBar(this);
  m_progress->setTextVisible(true);
  m_progress->hide();
  m_importButton = new QPushButton(QStringLiteral("Импортировать"), this);
  m_importButton->setDefault(true);
  m_cancelButton = new QPushButton(QStringLiteral("Отмена"), this);
  m_cancelButton->setAutoDefault(false);
  for (QPushButton* button : {m_importButton, m_cancelButton}) {
    button->setMinimumSize(std::max(units.X(50), button->sizeHint().width()), units.Y(14));
  }
  connect(m_importButton, &QPushButton::clicked, this, &ImportWindow::StartImport);
  connect(m_cancelButton, &QPushButton::clicked, this, &ImportWindow::reject);
  bottom->addWidget(m_statusLabel);
  bottom->addWidget(m_progress, 1);
  bottom->addStretch();
  bottom->addWidget(m_importButton);
  bottom->addWidget(m_cancelButton);
  layout->addLayout(bottom);

  QSize size = units.Size(420, 310);
  if (m_platform.workArea) {
    if (const QRect area = m_platform.workArea->Get(); area.isValid()) {
      size = size.boundedTo(area.size() - QSize(16, 48));
    }
  }
  setMinimumSize(units.Size(280, 200).boundedTo(size));
  resize(size);
}

bool ImportWindow::Busy() const { return m_stage != Stage::Ready; }

void ImportWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_started) return;
  m_started = true;
  RunPreview({});
}

void ImportWindow::RunPreview(const ImportSides& sides) {
  SetStage(Stage::Reading, QStringLiteral("Чтение файла…"));
  m_previewProcess->Start(PreviewArguments(m_source, sides));
}

void ImportWindow::OnPreviewFinished(const ToolOutcome& outcome) {
  // Stopped as the window closed.
  if (outcome.stopped) return;
  QString error = outcome.message;
  if (outcome.ok) {
    ImportPreviewResult result = ParseImportPreview(outcome.output);
    if (auto* preview = std::get_if<ImportPreview>(&result)) {
      ShowPreview(*preview);
      Log(QStringLiteral("предпросмотр %1: %2, французский — столбец %3, русский — столбец %4, "
                         "записей %5")
              .arg(m_source, preview->format)
              .arg(preview->frenchColumn + 1)
              .arg(preview->russianColumn + 1)
              .arg(preview->counts.entries));
      m_preview = std::move(*preview);
      SetStage(Stage::Ready);
      return;
    }
    error = std::get<QString>(result);
  }
  if (!m_preview) {
    // The source cannot be read at all: there is nothing to show.
    m_failure = error;
    done(QDialog::Rejected);
    return;
  }
  // Other columns could not be read: the last preview stays, with its sides.
  FillSides(*m_preview);
  SetStage(Stage::Ready);
  ShowError(error);
}

void ImportWindow::ShowPreview(const ImportPreview& preview) {
  m_formatLabel->setText(QStringLiteral("Файл: %1 — %2")
                             .arg(QDir::toNativeSeparators(m_source), FormatText(preview.format)));
  FillSides(preview);
  m_ambiguousLabel->setVisible(preview.ambiguous);
  FillTable(preview);
  m_countsLabel->setText(CountsText(preview.format, preview.counts));
  m_warnings->setPlainText(preview.warnings.join(QLatin1Char('\n')));
  m_warningsLabel->setVisible(!preview.warnings.isEmpty());
  m_warnings->setVisible(!preview.warnings.isEmpty());
}

void ImportWindow::FillSides(const ImportPreview& preview) {
  for (QComboBox* box : {m_frenchBox, m_russianBox}) {
    const QSignalBlocker blocker(box);
    box->clear();
    for (size_t i = 0; i < preview.columns.size(); ++i) {
      box->addItem(ColumnText(preview.columns[i], static_cast<int>(i)));
    }
  }
  const QSignalBlocker frenchBlocker(m_frenchBox);
  const QSignalBlocker russianBlocker(m_russianBox);
  m_frenchBox->setCurrentIndex(preview.frenchColumn);
  m_russianBox->setCurrentIndex(preview.russianColumn);
}

void ImportWindow::FillTable(const ImportPreview& preview) {
  m_table->setRowCount(static_cast<int>(preview.entries.size()));
  for (int row = 0; row < m_table->rowCount(); ++row) {
    const ImportEntry& entry = preview.entries[static_cast<size_t>(row)];
    m_table->setItem(row, kWordColumn, Cell(entry.word));
    m_table->setItem(row, kGrammarColumn, Cell(GrammarText(entry)));
    m_table->setItem(row, kTranslationsColumn, Cell(OneLine(entry.translations)));
    m_table->setItem(row, kInfoColumn, Cell(OneLine(entry.info)));
    m_table->setItem(row, kSoundColumn, Cell(RecordingText(entry.recording)));
  }
  // The translations take the room the other columns leave; a long word or information line is
  // cut in its cell (its tooltip shows it whole) rather than pushing the recording out of view.
  m_table->resizeColumnsToContents();
  const int room = m_table->viewport()->width();
  for (const auto& [column, share] : {std::pair{kWordColumn, 30}, std::pair{kInfoColumn, 25}}) {
    m_table->setColumnWidth(column, std::min(m_table->columnWidth(column), room * share / 100));
  }
  // Sized to its contents above, the stretching column fills the rest again once told anew.
  m_table->horizontalHeader()->setSectionResizeMode(kTranslationsColumn, QHeaderView::Stretch);
  if (preview.entries.empty()) {
    m_entriesLabel->setText(QStringLiteral("В уроке не будет ни одной записи."));
  } else {
    m_entriesLabel->setText(
        QStringLiteral("Первые записи урока (%1 из %2):")
            .arg(preview.entries.size())
            .arg(std::max<qint64>(preview.counts.entries,
                                  static_cast<qint64>(preview.entries.size()))));
  }
}

void ImportWindow::OnSideChosen(bool frenchChanged) {
  if (!m_preview || m_stage != Stage::Ready) return;
  ImportSides sides{m_frenchBox->currentIndex(), m_russianBox->currentIndex()};
  // One column cannot be both sides: the other side takes the column given up.
  if (sides.french == sides.russian) {
    (frenchChanged ? sides.russian : sides.french) =
        frenchChanged ? m_preview->frenchColumn : m_preview->russianColumn;
  }
  if (sides.french == m_preview->frenchColumn && sides.russian == m_preview->russianColumn) return;
  {
    const QSignalBlocker frenchBlocker(m_frenchBox);
    const QSignalBlocker russianBlocker(m_russianBox);
    m_frenchBox->setCurrentIndex(sides.french);
    m_russianBox->setCurrentIndex(sides.russian);
  }
  RunPreview(sides);
}

void ImportWindow::Browse() {
  if (!m_platform.files) return;
  FileChoice choice;
  choice.title = QStringLiteral("Сохранить урок");
  choice.filters = QStringList{QStringLiteral("Db-файлы (*.db)")};
  choice.start = QDir::fromNativeSeparators(m_lessonField->text().trimmed());
  choice.defaultSuffix = QStringLiteral("db");
  choice.save = true;
  if (const auto chosen = m_platform.files->ChooseFile(this, choice)) {
    m_lessonField->setText(QDir::toNativeSeparators(*chosen));
  }
}

void ImportWindow::StartImport() {
  if (!m_preview || m_stage != Stage::Ready) return;
  const QString typed = QDir::fromNativeSeparators(m_lessonField->text().trimmed());
  if (typed.isEmpty()) {
    ShowError(QStringLiteral("Укажите файл, в который сохранить урок."));
    return;
  }
  // A name without a folder goes beside the source.
  const QString lesson = QFileInfo(m_source).dir().absoluteFilePath(typed);
  if (SameFile(lesson, m_source)) {
    ShowError(QStringLiteral("Урок нельзя сохранить на место файла, из которого он создаётся."));
    return;
  }
  const bool replace = QFileInfo::exists(lesson);
  if (replace &&
      !m_platform.messages->Ask(this, kCaption,
                                QStringLiteral("Файл %1 уже существует. Заменить его новым уроком?")
                                    .arg(QDir::toNativeSeparators(lesson)))) {
    return;
  }
  m_lessonPath = lesson;
  m_report.clear();
  m_progress->setRange(0, 0);
  m_loggedTenth = -1;
  SetStage(Stage::Importing, QStringLiteral("Импорт…"));
  const QStringList arguments = ImportArguments(
      m_source, lesson, replace, {m_preview->frenchColumn, m_preview->russianColumn});
  Log(QStringLiteral("запуск %1 %2").arg(m_tool, arguments.join(QLatin1Char(' '))));
  m_importProcess->Start(arguments);
}

void ImportWindow::OnImportLine(const QString& line) {
  if (const auto progress = ParseProgressLine(line)) {
    // QProgressBar counts in int; the tool's counts of recordings stay far below its limit.
    const int total = static_cast<int>(std::min<qint64>(progress->total, 1 << 30));
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(static_cast<int>(std::min<qint64>(progress->done, total)));
    const QString text =
        QStringLiteral("Записи звука: %1 из %2").arg(progress->done).arg(progress->total);
    if (m_stage == Stage::Importing) m_statusLabel->setText(text);
    // Each tenth of the way once.
    const qint64 tenth = progress->total > 0 ? progress->done * 10 / progress->total : 10;
    if (tenth != m_loggedTenth) {
      m_loggedTenth = tenth;
      Log(text.toLower());
    }
    return;
  }
  m_report.append(line);
}

void ImportWindow::OnImportFinished(const ToolOutcome& outcome) {
  if (outcome.stopped) {
    Log(QStringLiteral("отменён, урок %1 не записан").arg(m_lessonPath));
    m_lessonPath.clear();
    QDialog::reject();
    return;
  }
  if (outcome.ok && QFileInfo(m_lessonPath).isFile()) {
    Log(QStringLiteral("записан урок %1").arg(m_lessonPath));
    accept();
    return;
  }
  const QString message = outcome.ok
                              ? QStringLiteral(
                                    "Программа verbaro-lesson сообщила, что урок записан, но "
                                    "файла %1 нет.")
                                    .arg(QDir::toNativeSeparators(m_lessonPath))
                              : outcome.message;
  m_lessonPath.clear();
  SetStage(Stage::Ready);
  ShowError(message);
}

void ImportWindow::reject() {
  switch (m_stage) {
    case Stage::Importing:
      SetStage(Stage::Stopping, QStringLiteral("Импорт останавливается…"));
      m_importProcess->Stop();
      return;
    case Stage::Stopping: return;
    case Stage::Reading: m_previewProcess->Stop(); break;
    case Stage::Ready: break;
  }
  QDialog::reject();
}

void ImportWindow::SetStage(Stage stage, const QString& status) {
  m_stage = stage;
  const bool ready = stage == Stage::Ready && m_preview.has_value();
  for (QWidget* widget :
       std::initializer_list<QWidget*>{m_frenchBox, m_russianBox, m_lessonField, m_browseButton}) {
    widget->setEnabled(ready);
  }
  m_importButton->setEnabled(ready && !m_preview->entries.empty());
  m_cancelButton->setEnabled(stage != Stage::Stopping);
  m_progress->setVisible(stage == Stage::Importing || stage == Stage::Stopping);
  m_statusLabel->setText(status);
  m_statusLabel->setVisible(!status.isEmpty());
  if (stage == Stage::Ready && m_importButton->isEnabled()) m_importButton->setFocus();
}

void ImportWindow::Log(const QString& text) {
  if (m_platform.log) m_platform.log->Line(u"Импорт урока: ", FromQ(text));
}

void ImportWindow::ShowError(const QString& text) {
  if (m_platform.messages) m_platform.messages->ShowError(this, text);
}

}  // namespace verbaro
