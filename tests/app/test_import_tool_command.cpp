#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <filesystem>

#include "app/ImportToolCommand.h"
#include "tests/support/TempFolder.h"

namespace verbaro {
namespace {

using namespace Qt::StringLiterals;

std::filesystem::path Program(const test::TempFolder& folder, const std::string& name) {
  const auto path = folder.Write(name, "#!/bin/sh\nexit 0\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The installed program finds the tool beside it, the build tree in its tools folder, anything
// else on the PATH; a file that cannot run is no tool.
TEST(LessonToolLookup, BesideTheProgramThenTheBuildTreeThenThePath) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder.Path() / "build/app");
  std::filesystem::create_directories(folder.Path() / "build/tools");
  std::filesystem::create_directories(folder.Path() / "bin");
  const QString app = Q(folder.Path() / "build/app");
  const QByteArray path = qgetenv("PATH");
  const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
  qputenv("PATH", Q(folder.Path() / "bin").toLocal8Bit());

  EXPECT_EQ(FindLessonTool(app, QString()), QString());
  folder.Write("build/tools/verbaro-lesson", "not a program");
  EXPECT_EQ(FindLessonTool(app, QString()), QString());

  const QString onPath = Q(Program(folder, "bin/verbaro-lesson"));
  EXPECT_EQ(FindLessonTool(app, QString()), onPath);
  const QString inBuildTree = Q(Program(folder, "build/tools/verbaro-lesson"));
  EXPECT_EQ(FindLessonTool(app, QString()), QFileInfo(inBuildTree).canonicalFilePath());
  const QString beside = Q(Program(folder, "build/app/verbaro-lesson"));
  EXPECT_EQ(FindLessonTool(app, QString()), QFileInfo(beside).canonicalFilePath());
  EXPECT_EQ(FindLessonTool(app, u"/elsewhere/tool"_s), u"/elsewhere/tool");
}

TEST(ImportCommandLine, NamesTheColumnsFromOneAndAsksForProgress) {
  EXPECT_EQ(PreviewArguments(u"/w/deck.apkg"_s, {}),
            (QStringList{u"import"_s, u"/w/deck.apkg"_s, u"--preview"_s}));
  EXPECT_EQ(PreviewArguments(u"/w/deck.apkg"_s, {2, 0}),
            (QStringList{u"import"_s, u"/w/deck.apkg"_s, u"--preview"_s, u"--french"_s, u"3"_s,
                         u"--russian"_s, u"1"_s}));
  EXPECT_EQ(ImportArguments(u"/w/a.csv"_s, u"/w/a.db"_s, false, {0, 1}),
            (QStringList{u"import"_s, u"/w/a.csv"_s, u"-o"_s, u"/w/a.db"_s, u"--french"_s, u"1"_s,
                         u"--russian"_s, u"2"_s, u"--progress"_s}));
  EXPECT_EQ(ImportArguments(u"/w/a.csv"_s, u"/w/b.db"_s, true, {}),
            (QStringList{u"import"_s, u"/w/a.csv"_s, u"-o"_s, u"/w/b.db"_s, u"--replace"_s,
                         u"--progress"_s}));
  // Only the last extension goes: a dotted name keeps its dots.
  EXPECT_EQ(DefaultLessonPath(u"/w/mots.v2.apkg"_s), u"/w/mots.v2.db");
  EXPECT_EQ(DefaultLessonPath(u"/w/liste"_s), u"/w/liste.db");
}

TEST(ImportProgressLines, OnlyWellFormedCountsAreProgress) {
  const auto progress = ParseProgressLine(u"@progress 3 10"_s);
  ASSERT_TRUE(progress);
  EXPECT_EQ(progress->done, 3);
  EXPECT_EQ(progress->total, 10);
  EXPECT_TRUE(ParseProgressLine(u"@progress 0 0"_s));
  for (const QString& line :
       {u"@progress 11 10"_s, u"@progress -1 10"_s, u"@progress 1"_s, u"@progress x 10"_s,
        u"@progress 1 10 x"_s, u"progress 1 10"_s, u"Импортировано записей: 10"_s, QString()}) {
    EXPECT_FALSE(ParseProgressLine(line)) << line.toStdString();
  }
}

TEST(ImportProgressLines, ALetterSplitBetweenTwoReadsStaysWhole) {
  OutputLines lines;
  const QByteArray text = u"@progress 1 2\r\nЗаписей: 5\nконец"_s.toUtf8();
  // "З" is two bytes in UTF-8: cut between them.
  const qsizetype cut = text.indexOf("\xd0\x97") + 1;
  EXPECT_EQ(lines.Add(text.left(5)), QStringList());
  EXPECT_EQ(lines.Add(text.mid(5, cut - 5)), QStringList{u"@progress 1 2"_s});
  EXPECT_EQ(lines.Add(text.mid(cut)), QStringList{u"Записей: 5"_s});
  EXPECT_EQ(lines.Rest(), u"конец");
}

TEST(ImportReport, ALongReportIsCutAndEndsWithTheLesson) {
  EXPECT_EQ(ImportReportText({u"Записей: 3"_s, QString(), QString()}, u"/w/a.db"_s),
            u"Записей: 3\n\nУрок сохранён: /w/a.db");
  EXPECT_EQ(ImportReportText({}, u"/w/a.db"_s), u"Урок сохранён: /w/a.db");
  QStringList report;
  for (int i = 1; i <= 30; ++i) report.append(u"строка %1"_s.arg(i));
  const QStringList shown = ImportReportText(report, u"/w/a.db"_s).split(u'\n');
  ASSERT_EQ(shown.size(), 22);
  EXPECT_EQ(shown[18], u"строка 19");
  EXPECT_EQ(shown[19], u"… и ещё строк отчёта: 11");
}

}  // namespace
}  // namespace verbaro
