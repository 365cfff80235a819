#pragma once
// What `verbaro-lesson import SOURCE --preview` tells about a source of words before anything is
// written: its format, its columns and which of them are the French and the Russian side, the
// counts, the first entries as the lesson will hold them, and the warnings. Read from the tool's
// JSON answer; the import window only shows it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace verbaro {

struct ImportColumn {
  QString name;
  QString language;  // «французский», «русский» or empty when the column does not say
};

// How an entry's recording comes into the lesson.
enum class ImportRecording { Given, Convert, Voice, None };

struct ImportEntry {
  QString grammar;
  QString number;
  QString word;
  QStringList info;  // the three information lines, empty ones included
  QStringList translations;
  ImportRecording recording = ImportRecording::None;
};

struct ImportCounts {
  qint64 notes = 0;  // notes, articles or rows of the source
  qint64 entries = 0;
  qint64 merged = 0;
  qint64 skipped = 0;
  qint64 given = 0;
  qint64 convert = 0;
  qint64 voice = 0;
};

struct ImportPreview {
  QString format;  // "Anki", "KVTML", "CSV" or "TSV"
  std::vector<ImportColumn> columns;
  int frenchColumn = 0;
  int russianColumn = 1;
  // The sides were guessed, or another column could be French or Russian as well.
  bool ambiguous = false;
  ImportCounts counts;
  std::vector<ImportEntry> entries;
  QStringList warnings;
};

// The preview, or the reason why the tool's answer cannot be one (in Russian, for the learner).
using ImportPreviewResult = std::variant<ImportPreview, QString>;
ImportPreviewResult ParseImportPreview(const QByteArray& json);

// The texts the import window shows for the preview's parts.
QString FormatText(const QString& format);
QString ColumnText(const ImportColumn& column, int index);
QString RecordingText(ImportRecording recording);
QString CountsText(const QString& format, const ImportCounts& counts);
QString GrammarText(const ImportEntry& entry);

}  // namespace verbaro
