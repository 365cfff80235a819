#pragma once
// The command lines of `verbaro-lesson import` that the import window runs, where the tool is
// found, and the lines it prints while it works. Plain functions, so that tests check them
// without running anything.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace verbaro {

// The environment variable that names the tool to run instead of the one found.
inline constexpr char kLessonToolVariable[] = "VERBARO_LESSON_TOOL";

// `verbaro-lesson` beside the trainer (`applicationDir`), else in the build tree's tools folder
// next to the trainer's app folder, else on the PATH; `overridePath`, when not empty, is taken
// as it is. Empty when there is none.
QString FindLessonTool(const QString& applicationDir, const QString& overridePath);
// The box shown when FindLessonTool found nothing.
QString MissingLessonToolText(const QString& applicationDir);

// The columns that hold the French and the Russian words, from 0; nothing: the tool decides.
struct ImportSides {
  int french = -1;
  int russian = -1;
  bool Chosen() const { return french >= 0 && russian >= 0; }
};

QStringList PreviewArguments(const QString& source, const ImportSides& sides);
QStringList ImportArguments(const QString& source, const QString& lesson, bool replace,
                            const ImportSides& sides);

// The lesson made from `source` unless the learner chooses another: beside it, with its name
// and the extension ".db".
QString DefaultLessonPath(const QString& source);

// The box after a lesson is written: the tool's report, cut to its first lines when long, and
// where the lesson is.
QString ImportReportText(const QStringList& report, const QString& lesson);

struct ToolProgress {
  qint64 done = 0;
  qint64 total = 0;
};
// "@progress DONE TOTAL"; nothing for any other line.
std::optional<ToolProgress> ParseProgressLine(const QString& line);

// Cuts what a process prints into whole lines as they arrive; a line is decoded as UTF-8 only
// once it is complete, so that a letter split between two reads stays whole.
class OutputLines {
 public:
  // The lines completed by `bytes`, without their line ends.
  QStringList Add(const QByteArray& bytes);
  // The last line when the output ended without a line end.
  QString Rest() const;

 private:
  QByteArray m_pending;
};

}  // namespace verbaro
