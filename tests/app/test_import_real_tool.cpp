// The import window and the menu command over the real verbaro-lesson, as built beside the
// trainer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QRegularExpression>
#include <QTableWidget>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/ImportToolCommand.h"
#include "app/ImportWindow.h"
#include "app/MainFrame.h"
#include "platform/QtText.h"
#include "ImportWindowDriver.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/TempFolder.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

using namespace Qt::StringLiterals;

const QString kTool = QStringLiteral(VERBARO_LESSON_TOOL);

QString Path(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// A table as a spreadsheet saves it: a byte order mark, semicolons, CR LF.
std::string Table(const std::vector<std::pair<std::string, std::string>>& rows) {
  std::string text = "\xef\xbb\xbf" "Français;Русский\r\n";
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

class ImportRealTool : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApplication(); }
  test::TempFolder folder;
  FakePlatform fake;
};

TEST_F(ImportRealTool, ATableIsPreviewedImportedAndOpenedInTheCurrentMode) {
  const QString source = Path(folder.Write(
      "mots.csv", Table({{"le chat", "кот"}, {"la maison", "дом"}, {"l'école", "школа"}})));
  const QByteArray before = qgetenv(kLessonToolVariable);
  const auto restore = qScopeGuard([&] { qputenv(kLessonToolVariable, before); });
  qputenv(kLessonToolVariable, kTool.toLocal8Bit());

  CMainFrame frame(fake.Get());
  ASSERT_TRUE(frame.CreateFrame(QRect(0, 0, 1000, 700)));
  frame.OnCommand(cmd::kFirstMode + 4);  // Экзамен-1
  fake.files.answers = {source};
  QStringList shownWords;
  QString format;
  test::WhenImportWindowIsReady([&](ImportWindow& window) {
    for (int row = 0; row < window.Table()->rowCount(); ++row) {
      shownWords.append(window.Table()->item(row, 0)->text());
      EXPECT_EQ(window.Table()->item(row, 4)->text(), u"голос espeak");
    }
    window.ImportButton()->click();
  });
  frame.OnCommand(cmd::kImportLesson);

  EXPECT_EQ(shownWords, (QStringList{u"le chat"_s, u"la maison"_s, u"l'école"_s}));
  const QString lesson = Path(folder.Path() / "mots.db");
  ASSERT_TRUE(QFile::exists(lesson)) << fake.messages.shown.back().text.toStdString();
  ASSERT_FALSE(fake.messages.shown.empty());
  EXPECT_EQ(fake.messages.shown.back().caption, u"Информация");
  EXPECT_TRUE(fake.messages.shown.back().text.endsWith(u"Урок сохранён: "_s + lesson));
  EXPECT_EQ(ToQ(frame.View(4)->m_szDataFile), lesson);
  EXPECT_EQ(frame.View(4)->m_vWordsData.size(), 3u);
}

// The tool is stopped while it voices the words: it leaves no lesson and no file of its work.
TEST_F(ImportRealTool, CancelWhileVoicingLeavesNothingBehind) {
  std::vector<std::pair<std::string, std::string>> rows;
  const char* french[] = {"ba", "ce", "di", "fo", "gu", "la", "me", "ni", "po", "ru"};
  const char* russian[] = {"ба", "ве", "ги", "до", "жу", "за", "ки", "ло", "му", "не"};
  for (int i = 0; i < 300; ++i) {
    rows.emplace_back(std::string(french[i % 10]) + french[i / 10 % 10] + french[i / 100],
                      std::string(russian[i % 10]) + russian[i / 10 % 10] + russian[i / 100]);
  }
  const QString source = Path(folder.Write("beaucoup.csv", Table(rows)));
  ImportWindow window(source, kTool, fake.Get());
  window.show();
  ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible() || !window.Busy(); }, 60000));
  ASSERT_TRUE(window.isVisible()) << window.Failure().toStdString();
  window.ImportButton()->click();
  ASSERT_TRUE(test::WaitFor([&] { return window.Progress()->maximum() > 1; }, 60000));
  window.CancelButton()->click();
  ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible(); }, 20000));
  EXPECT_EQ(window.result(), QDialog::Rejected);
  EXPECT_TRUE(fake.messages.shown.empty()) << fake.messages.shown.front().text.toStdString();
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"beaucoup.csv"});
}

TEST_F(ImportRealTool, ASourceTheToolCannotReadIsItsMessageAndNothingElse) {
  const QString source = Path(folder.Write("deck.apkg", "this is no zip archive"));
  ImportWindow window(source, kTool, fake.Get());
  window.show();
  ASSERT_TRUE(test::WaitFor([&] { return !window.isVisible(); }, 60000));
  EXPECT_FALSE(window.Failure().isEmpty());
  // The tool speaks Russian to the learner.
  EXPECT_TRUE(window.Failure().contains(QRegularExpression(u"[а-яА-Я]"_s)))
      << window.Failure().toStdString();
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"deck.apkg"});
}

}  // namespace
}  // namespace verbaro
