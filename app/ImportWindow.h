#pragma once
// «Импорт урока»: the preview of a source of words and its import into a new lesson. The window
// reads the source through `verbaro-lesson import --preview` as it opens and again whenever the
// learner names other French and Russian columns; «Импортировать» runs the import with a
// progress bar, «Отмена» stops it and the tool leaves no file. The window closes accepted once
// the lesson is written.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

#include "app/ImportPreview.h"
#include "app/ImportToolCommand.h"
#include "platform/Platform.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace verbaro {

class ToolProcess;
struct ToolOutcome;

class ImportWindow : public QDialog {
  Q_OBJECT

 public:
  ImportWindow(const QString& source, const QString& tool, const Platform& platform,
               QWidget* owner = nullptr);
  ~ImportWindow() override;

  // Why the window closed without a lesson when the source could not be read at all; empty
  // otherwise.
  const QString& Failure() const { return m_failure; }
  // The lesson written and what the tool reported, once the window closed accepted.
  const QString& LessonPath() const { return m_lessonPath; }
  const QStringList& Report() const { return m_report; }

  QComboBox* FrenchBox() const { return m_frenchBox; }
  QComboBox* RussianBox() const { return m_russianBox; }
  QLabel* AmbiguousLabel() const { return m_ambiguousLabel; }
  QTableWidget* Table() const { return m_table; }
  QLabel* CountsLabel() const { return m_countsLabel; }
  QPlainTextEdit* Warnings() const { return m_warnings; }
  QLineEdit* LessonField() const { return m_lessonField; }
  QPushButton* BrowseButton() const { return m_browseButton; }
  QPushButton* ImportButton() const { return m_importButton; }
  QPushButton* CancelButton() const { return m_cancelButton; }
  QProgressBar* Progress() const { return m_progress; }
  // True while the tool reads the source or writes the lesson.
  bool Busy() const;

  // Escape, the close box and «Отмена»: an import under way is stopped first.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  enum class Stage { Reading, Ready, Importing, Stopping };

  void BuildLayout();
  void RunPreview(const ImportSides& sides);
  void OnPreviewFinished(const ToolOutcome& outcome);
  void ShowPreview(const ImportPreview& preview);
  void FillSides(const ImportPreview& preview);
  void FillTable(const ImportPreview& preview);
  void OnSideChosen(bool frenchChanged);
  void Browse();
  void StartImport();
  void OnImportLine(const QString& line);
  void OnImportFinished(const ToolOutcome& outcome);
  void SetStage(Stage stage, const QString& status = QString());
  void ShowError(const QString& text);
  // A line "Импорт урока: ..." in the diagnostic log.
  void Log(const QString& text);

  QString m_source;
  QString m_tool;
  const Platform& m_platform;
  Stage m_stage = Stage::Reading;
  bool m_started = false;
  std::optional<ImportPreview> m_preview;
  ToolProcess* m_previewProcess = nullptr;
  ToolProcess* m_importProcess = nullptr;
  qint64 m_loggedTenth = -1;  // of the recordings made, last written to the log
  QString m_failure;
  QString m_lessonPath;
  QStringList m_report;

  QLabel* m_formatLabel = nullptr;
  QComboBox* m_frenchBox = nullptr;
  QComboBox* m_russianBox = nullptr;
  QLabel* m_ambiguousLabel = nullptr;
  QLabel* m_entriesLabel = nullptr;
  QTableWidget* m_table = nullptr;
  QLabel* m_countsLabel = nullptr;
  QLabel* m_warningsLabel = nullptr;
  QPlainTextEdit* m_warnings = nullptr;
  QLineEdit* m_lessonField = nullptr;
  QPushButton* m_browseButton = nullptr;
  QLabel* m_statusLabel = nullptr;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_importButton = nullptr;
  QPushButton* m_cancelButton = nullptr;
};

}  // namespace verbaro
