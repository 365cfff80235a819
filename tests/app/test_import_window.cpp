#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/ImportLessonCommand.h"
#include "app/ImportToolCommand.h"
#include "app/ImportWindow.h"
#include "app/MainFrame.h"
#include "platform/QtText.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/TempFolder.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

using namespace Qt::StringLiterals;

// A stand-in for verbaro-lesson, for what the real one seldom does: it answers from files in its
// folder, preview.json (or preview-swapped.json when the second column is named French),
// preview-error and import-error (printed on stderr with exit code 1). A run that succeeds
// writes the lesson unless import-writes-nothing is there. Every command line goes into the
// file "calls". The real tool is VERBARO_LESSON_TOOL, as built.
const char kFakeTool[] = R"(#!/bin/sh
dir=$(dirname "$0")
printf '%s\n' "$*" >> "$dir/calls"
case " $* " in
  *" --preview "*)
    if [ -f "$dir/preview-error" ]; then cat "$dir/preview-error" >&2; exit 1; fi
    case " $* " in
      *" --french 2 "*) cat "$dir/preview-swapped.json" ;;
      *) cat "$dir/preview.json" ;;
    esac
    exit 0 ;;
esac
out="$4"
echo "@progress 2 3"
echo "@progress 3 3"
if [ -f "$dir/import-error" ]; then cat "$dir/import-error" >&2; exit 1; fi
[ -f "$dir/import-writes-nothing" ] || echo lesson > "$out"
echo "Записей в уроке: 2"
printf 'Озвучено: 1'
)";

const char kPreview[] = R"({"format": "CSV",
  "columns": [{"name": "Mot", "language": "французский"}, {"name": "Слово", "language": "русский"},
              {"name": "Note", "language": ""}],
  "frenchColumn": 0, "russianColumn": 1, "ambiguous": true,
  "counts": {"notes": 3, "entries": 2, "merged": 0, "skipped": 1, "given": 0, "convert": 0,
             "voice": 2},
  "entries": [{"grammar": "m", "number": "s", "word": "chat", "info": ["[ʃa]", "", ""],
               "translations": ["кот", "кошка"], "recording": "voice"},
              {"grammar": "", "number": "", "word": "aller", "info": ["", "", ""],
               "translations": ["идти"], "recording": "voice"}],
  "warnings": ["строка 4: нет французского текста"]})";

const char kSwappedPreview[] = R"({"format": "CSV",
  "columns": [{"name": "Mot", "language": "французский"}, {"name": "Слово", "language": "русский"},
              {"name": "Note", "language": ""}],
  "frenchColumn": 1, "russianColumn": 0,
  "counts": {"notes": 3, "entries": 1},
  "entries": [{"word": "кот", "translations": ["chat"], "recording": "voice"}]})";

class ImportWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    std::filesystem::create_directories(folder.Path() / "tool");
    std::filesystem::create_directories(folder.Path() / "words");
    tool = folder.Write("tool/verbaro-lesson", kFakeTool);
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    folder.Write("tool/preview.json", kPreview);
    folder.Write("tool/preview-swapped.json", kSwappedPreview);
    source = Path(folder.Write("words/mots.csv", "Mot;Слово;Note\nchat;кот;\n"));
    lesson = Path(folder.Path() / "words/mots.db");
  }

  static QString Path(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
  }
  void Flag(const std::string& name, std::string_view text = "") const {
    folder.Write("tool/" + name, text);
  }
  QStringList Calls() const {
    QFile file(Path(folder.Path() / "tool/calls"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }
  // Shows the window and waits until it has read the source (or closed).
  void Open(ImportWindow& window) const {
    window.show();
    ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible() || !window.Busy(); }, 30000));
  }
  static void Choose(QComboBox* box, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &press);
  }

  test::TempFolder folder;
  FakePlatform fake;
  std::filesystem::path tool;
  QString source;
  QString lesson;
};

TEST_F(ImportWindowTest, ShowsThePreviewAndWritesTheLessonBesideTheSource) {
  ImportWindow window(source, Path(tool), fake.Get());
  Open(window);
  ASSERT_TRUE(window.isVisible());
  EXPECT_EQ(window.FrenchBox()->count(), 3);
  EXPECT_EQ(window.FrenchBox()->currentText(), u"1: Mot (французский)");
  EXPECT_EQ(window.RussianBox()->currentText(), u"2: Слово (русский)");
  EXPECT_TRUE(window.AmbiguousLabel()->isVisibleTo(&window));
  ASSERT_EQ(window.Table()->rowCount(), 2);
  const QStringList firstRow = {u"chat"_s, u"m, s"_s, u"кот; кошка"_s, u"[ʃa]"_s,
                                u"голос espeak"_s};
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(window.Table()->item(0, column)->text(), firstRow[column]) << column;
  }
  // The columns fill the table's width, none beyond it.
  const auto columnsWidth = [&] {
    int width = 0;
    for (int column = 0; column < 5; ++column) width += window.Table()->columnWidth(column);
    return width;
  };
  EXPECT_TRUE(
      test::WaitFor([&] { return columnsWidth() == window.Table()->viewport()->width(); }, 2000))
      << columnsWidth() << " of " << window.Table()->viewport()->width();
  EXPECT_TRUE(window.CountsLabel()->text().contains(u"пропущено: 1"));
  EXPECT_TRUE(window.Warnings()->isVisibleTo(&window));
  EXPECT_EQ(window.Warnings()->toPlainText(), u"строка 4: нет французского текста");
  EXPECT_EQ(window.LessonField()->text(), lesson);

  window.ImportButton()->click();
  ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible(); }, 10000));
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(window.LessonPath(), lesson);
  EXPECT_TRUE(QFile::exists(lesson));
  EXPECT_EQ(window.Report(), (QStringList{u"Записей в уроке: 2"_s, u"Озвучено: 1"_s}));
  EXPECT_EQ(window.Progress()->maximum(), 3);
  EXPECT_EQ(window.Progress()->value(), 3);
  EXPECT_EQ(fake.messages.questions, 0);
  ASSERT_EQ(Calls().size(), 2);
  EXPECT_EQ(Calls()[0], u"import "_s + source + u" --preview"_s);
  // The sides the learner saw are the sides imported.
  EXPECT_EQ(Calls()[1],
            u"import "_s + source + u" -o "_s + lesson + u" --french 1 --russian 2 --progress"_s);
}

TEST_F(ImportWindowTest, AToolThatCannotRunIsAMessageToo) {
  ImportWindow window(source, Path(folder.Path() / "tool/none"), fake.Get());
  Open(window);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(window.Failure().startsWith(u"Не удалось запустить программу "))
      << window.Failure().toStdString();
}

TEST_F(ImportWindowTest, ChoosingTheOtherColumnSwapsTheSidesAndReadsAgain) {
  ImportWindow window(source, Path(tool), fake.Get());
  Open(window);
  // French moves down to the Russian column: Russian takes the column French gave up.
  Choose(window.FrenchBox(), Qt::Key_Down);
  ASSERT_TRUE(test::WaitFor([&] { return !window.Busy(); }, 10000));
  EXPECT_EQ(Calls().last(), u"import "_s + source + u" --preview --french 2 --russian 1"_s);
  EXPECT_EQ(window.FrenchBox()->currentIndex(), 1);
  EXPECT_EQ(window.RussianBox()->currentIndex(), 0);
  ASSERT_EQ(window.Table()->rowCount(), 1);
  EXPECT_EQ(window.Table()->item(0, 0)->text(), u"кот");
  EXPECT_FALSE(window.AmbiguousLabel()->isVisibleTo(&window));
  EXPECT_FALSE(window.Warnings()->isVisibleTo(&window));

  // Columns that cannot be read: the message, and the last preview stays with its sides.
  Flag("preview-error", "В столбце 3 нет русских слов.");
  Choose(window.RussianBox(), Qt::Key_End);
  ASSERT_TRUE(test::WaitFor([&] { return !window.Busy(); }, 10000));
  EXPECT_EQ(Calls().last(), u"import "_s + source + u" --preview --french 2 --russian 3"_s);
  ASSERT_EQ(fake.messages.Texts(), std::vector<QString>{u"В столбце 3 нет русских слов."_s});
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.FrenchBox()->currentIndex(), 1);
  EXPECT_EQ(window.RussianBox()->currentIndex(), 0);
  EXPECT_EQ(window.Table()->rowCount(), 1);
}

// «Обзор...» names another lesson file; one that exists is replaced only after a «Да».
TEST_F(ImportWindowTest, AnExistingFileIsReplacedOnlyWhenTheLearnerAgrees) {
  const QString chosen = Path(folder.Write("words/ancien.db", "the learner's own file"));
  ImportWindow window(source, Path(tool), fake.Get());
  Open(window);
  fake.files.answers = {chosen};
  window.BrowseButton()->click();
  ASSERT_EQ(fake.files.choices.size(), 1u);
  EXPECT_TRUE(fake.files.choices[0].save);
  EXPECT_EQ(fake.files.choices[0].start, lesson);
  EXPECT_EQ(window.LessonField()->text(), chosen);

  fake.messages.answers = {false};
  window.ImportButton()->click();
  EXPECT_EQ(fake.messages.questions, 1);
  EXPECT_TRUE(fake.messages.shown.back().text.contains(chosen));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(Calls().size(), 1);

  fake.messages.answers = {true};
  window.ImportButton()->click();
  ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible(); }, 10000));
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(window.LessonPath(), chosen);
  ASSERT_EQ(Calls().size(), 2);
  EXPECT_TRUE(Calls()[1].contains(u" -o "_s + chosen + u" --replace "_s));
}

TEST_F(ImportWindowTest, TheSourceItselfIsNeverOverwrittenByTheLesson) {
  ImportWindow window(source, Path(tool), fake.Get());
  Open(window);
  fake.messages.answers = {true};
  for (const QString& typed : {source, u"mots.csv"_s}) {
    window.LessonField()->setText(typed);
    window.ImportButton()->click();
  }
  EXPECT_EQ(fake.messages.questions, 0);
  const QString refusal = u"Урок нельзя сохранить на место файла, из которого он создаётся."_s;
  EXPECT_EQ(fake.messages.Texts(), std::vector<QString>(2, refusal));
  EXPECT_EQ(Calls().size(), 1);
}

TEST_F(ImportWindowTest, AFailedImportLeavesTheWindowOpenWithTheReason) {
  ImportWindow window(source, Path(tool), fake.Get());
  Open(window);
  Flag("import-error", "Нет места на диске.");
  window.ImportButton()->click();
  ASSERT_TRUE(test::WaitFor([&] { return !fake.messages.shown.empty(); }, 10000));
  EXPECT_EQ(fake.messages.shown.back().caption, u"Ошибка");
  EXPECT_EQ(fake.messages.shown.back().text, u"Нет места на диске.");
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.ImportButton()->isEnabled());
  EXPECT_TRUE(window.FrenchBox()->isEnabled());

  // Success said without the file: no lesson to open.
  std::filesystem::remove(folder.Path() / "tool/import-error");
  Flag("import-writes-nothing");
  window.ImportButton()->click();
  ASSERT_TRUE(test::WaitFor([&] { return fake.messages.shown.size() == 2; }, 10000));
  EXPECT_TRUE(fake.messages.shown.back().text.contains(u"урок записан, но файла"));
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.LessonPath().isEmpty());
}

// ---- over the real verbaro-lesson ----

const QString kRealTool = QStringLiteral(VERBARO_LESSON_TOOL);

// A table as a spreadsheet saves it: a byte order mark, semicolons, CR LF.
std::string Table(const std::vector<std::pair<std::string, std::string>>& rows) {
  std::string text =
      "\xef\xbb\xbf"
      "Français;Русский\r\n";
  for (const auto& [french, russian] : rows) text += french + ";" + russian + "\r\n";
  return text;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Once the modal import window that a command opens has read its source, `step` acts on it.
void WhenImportWindowIsReady(const std::function<void(ImportWindow&)>& step) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, step] {
    auto* window = qobject_cast<ImportWindow*>(QApplication::activeModalWidget());
    if (!window || window->Busy()) return;
    timer->stop();
    timer->deleteLater();
    step(*window);
  });
  timer->start();
}

TEST_F(ImportWindowTest, FromTheMenuATableBecomesALessonOpenInTheCurrentMode) {
  const QString table = Path(folder.Write(
      "words/mots.csv", Table({{"le chat", "кот"}, {"la maison", "дом"}, {"l'école", "школа"}})));
  const QByteArray before = qgetenv(kLessonToolVariable);
  const auto restore = qScopeGuard([&] { qputenv(kLessonToolVariable, before); });
  qputenv(kLessonToolVariable, kRealTool.toLocal8Bit());
  CMainFrame frame(fake.Get());
  ASSERT_TRUE(frame.CreateFrame(QRect(0, 0, 1000, 700)));
  // Also on a first start, without a store of progress.
  ASSERT_TRUE(frame.Action(cmd::kImportLesson)->isVisible());
  frame.OnCommand(cmd::kFirstMode + 4);  // Экзамен-1
  fake.files.answers = {table};
  QStringList shown;
  WhenImportWindowIsReady([&](ImportWindow& window) {
    for (int row = 0; row < window.Table()->rowCount(); ++row) {
      shown.append(window.Table()->item(row, 0)->text() + u'|' +
                   window.Table()->item(row, 4)->text());
    }
    window.ImportButton()->click();
  });
  frame.OnCommand(cmd::kImportLesson);

  ASSERT_EQ(fake.files.choices.size(), 1u);
  EXPECT_EQ(fake.files.choices[0].filters, ImportSourceFilters());
  EXPECT_EQ(shown, (QStringList{u"le chat|голос espeak"_s, u"la maison|голос espeak"_s,
                                u"l'école|голос espeak"_s}));
  ASSERT_TRUE(QFile::exists(lesson));
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].caption, u"Информация");
  EXPECT_TRUE(fake.messages.shown[0].text.endsWith(u"\n\nУрок сохранён: "_s + lesson));
  EXPECT_EQ(ToQ(frame.View(4)->m_szDataFile), lesson);
  EXPECT_EQ(frame.View(4)->m_vWordsData.size(), 3u);
  EXPECT_TRUE(frame.View(0)->m_vWordsData.empty());
}

// Stopped while it voices the words, the tool leaves no lesson and no file of its work.
TEST_F(ImportWindowTest, CancelWhileTheWordsAreVoicedLeavesNothingBehind) {
  std::vector<std::pair<std::string, std::string>> rows;
  const char* french[] = {"ba", "ce", "di", "fo", "gu", "la", "me", "ni", "po", "ru"};
  const char* russian[] = {"ба", "ве", "ги", "до", "жу", "за", "ки", "ло", "му", "не"};
  for (int i = 0; i < 300; ++i) {
    rows.emplace_back(std::string(french[i % 10]) + french[i / 10 % 10] + french[i / 100],
                      std::string(russian[i % 10]) + russian[i / 10 % 10] + russian[i / 100]);
  }
  std::filesystem::create_directories(folder.Path() / "many");
  const QString table = Path(folder.Write("many/beaucoup.csv", Table(rows)));
  fake.log.AttachMemory();
  ImportWindow window(table, kRealTool, fake.Get());
  Open(window);
  ASSERT_TRUE(window.isVisible()) << window.Failure().toStdString();
  window.ImportButton()->click();
  ASSERT_TRUE(test::WaitFor([&] { return window.Progress()->maximum() == 300; }, 60000));
  EXPECT_FALSE(window.ImportButton()->isEnabled());
  EXPECT_FALSE(window.LessonField()->isEnabled());
  window.CancelButton()->click();
  ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible(); }, 20000));
  EXPECT_EQ(window.result(), QDialog::Rejected);
  EXPECT_TRUE(window.LessonPath().isEmpty());
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_EQ(FilesIn(folder.Path() / "many"), std::vector<std::string>{"beaucoup.csv"});
  // The log tells how far the import came and that it ended without a lesson.
  const std::string log = fake.log.Text();
  EXPECT_NE(log.find(" из 300\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Импорт урока: отменён, урок "), std::string::npos) << log;
}

TEST_F(ImportWindowTest, ASourceTheToolCannotReadIsItsMessageAndNothingElse) {
  const QString package = Path(folder.Write("words/deck.apkg", "this is no zip archive"));
  ImportWindow window(package, kRealTool, fake.Get());
  Open(window);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Rejected);
  // The tool speaks Russian to the learner; the window only passes it on.
  EXPECT_TRUE(window.Failure().contains(QRegularExpression(u"[а-яА-Я]"_s)))
      << window.Failure().toStdString();
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_EQ(FilesIn(folder.Path() / "words"), (std::vector<std::string>{"deck.apkg", "mots.csv"}));
}

TEST(ImportLessonCommand, WithoutTheToolNothingIsChosen) {
  test::EnsureApplication();
  FakePlatform fake;
  fake.files.answers = {u"/w/mots.csv"_s};
  EXPECT_FALSE(RunImportLesson(nullptr, fake.Get(), QString()));
  EXPECT_EQ(fake.files.requests, 0);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_TRUE(fake.messages.shown[0].text.startsWith(u"Не найдена программа verbaro-lesson"));
}

}  // namespace
}  // namespace verbaro
