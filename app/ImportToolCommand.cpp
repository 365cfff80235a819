#include "app/ImportToolCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace verbaro {

namespace {

const QString kToolName = QStringLiteral("verbaro-lesson");

bool IsProgram(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable();
}

QString Side(int column) { return QString::number(column + 1); }

void AddSides(QStringList& arguments, const ImportSides& sides) {
  if (!sides.Chosen()) return;
  arguments << QStringLiteral("--french") << Side(sides.french) << QStringLiteral("--russian")
            << Side(sides.russian);
}

}  // namespace

QString FindLessonTool(const QString& applicationDir, const QString& overridePath) {
  if (!overridePath.isEmpty()) return overridePath;
  const QDir dir(applicationDir);
  for (const QString& candidate :
       {dir.filePath(kToolName), dir.filePath(QStringLiteral("../tools/") + kToolName)}) {
    if (IsProgram(candidate)) return QFileInfo(candidate).canonicalFilePath();
  }
  return QStandardPaths::findExecutable(kToolName);
}

QString MissingLessonToolText(const QString& applicationDir) {
  return QStringLiteral(
             "Не найдена программа verbaro-lesson, которая создаёт уроки: её нет ни "
             "в папке программы (%1), ни в папках PATH. Установите её вместе с "
             "программой.")
      .arg(QDir::toNativeSeparators(applicationDir));
}

QStringList PreviewArguments(const QString& source, const ImportSides& sides) {
  QStringList arguments{QStringLiteral("import"), source, QStringLiteral("--preview")};
  AddSides(arguments, sides);
  return arguments;
}

QStringList ImportArguments(const QString& source, const QString& lesson, bool replace,
                            const ImportSides& sides) {
  QStringList arguments{QStringLiteral("import"), source, QStringLiteral("-o"), lesson};
  if (replace) arguments << QStringLiteral("--replace");
  AddSides(arguments, sides);
  arguments << QStringLiteral("--progress");
  return arguments;
}

QString DefaultLessonPath(const QString& source) {
  const QFileInfo info(source);
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(".db"));
}

QString ImportReportText(const QStringList& report, const QString& lesson) {
  constexpr qsizetype kShownLines = 20;
  QStringList lines = report;
  while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
  if (lines.size() > kShownLines) {
    const qsizetype more = lines.size() - (kShownLines - 1);
    lines.resize(kShownLines - 1);
    lines.append(QStringLiteral("… и ещё строк отчёта: %1").arg(more));
  }
  if (!lines.isEmpty()) lines.append(QString());
  lines.append(QStringLiteral("Урок сохранён: %1").arg(QDir::toNativeSeparators(lesson)));
  return lines.join(QLatin1Char('\n'));
}

std::optional<ToolProgress> ParseProgressLine(const QString& line) {
  const QStringList parts = line.split(QLatin1Char(' '));
  if (parts.size() != 3 || parts[0] != u"@progress") return std::nullopt;
  bool doneOk = false;
  bool totalOk = false;
  const qint64 done = parts[1].toLongLong(&doneOk);
  const qint64 total = parts[2].toLongLong(&totalOk);
  if (!doneOk || !totalOk || done < 0 || total < 0 || done > total) return std::nullopt;
  return ToolProgress{done, total};
}

QStringList OutputLines::Add(const QByteArray& bytes) {
  m_pending += bytes;
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n', start)) {
    QByteArray line = m_pending.mid(start, end - start);
    if (line.endsWith('\r')) line.chop(1);
    lines.append(QString::fromUtf8(line));
    start = end + 1;
  }
  m_pending.remove(0, start);
  return lines;
}

QString OutputLines::Rest() const { return QString::fromUtf8(m_pending); }

}  // namespace verbaro
