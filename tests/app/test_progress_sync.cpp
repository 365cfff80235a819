// The trainer's side of progress that follows the learner: the folder kept in the settings, the
// passes on their own thread and what the status bar says, the menu item and the dialog's list
// of machines.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStringList>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "app/Commands.h"
#include "app/MenuTable.h"
#include "app/ProgressSync.h"
#include "app/SyncDialog.h"
#include "app/UserSettings.h"
#include "data/progress/MachineIdentity.h"
#include "data/progress/ProgressStore.h"
#include "tests/fakes/core/FakeClock.h"
#include "tests/support/Application.h"
#include "tests/support/TempFolder.h"

namespace verbaro {
namespace {

namespace fs = std::filesystem;
using progress::Direction;

std::vector<progress::EntryKey> Words(int count) {
  std::vector<progress::EntryKey> keys;
  for (int i = 0; i < count; ++i)
    keys.push_back({u"mot" + std::u16string(1, u'a' + i), u"m", u"s", 0});
  return keys;
}

progress::TypingResult Wrong(int keystrokes) {
  progress::TypingResult result;
  result.characters = 4;
  result.wrongKeystrokes = keystrokes;
  result.milliseconds = 5000;
  result.fromMemory = true;
  return result;
}

TEST(ProgressSyncTexts, TheNumberOfAnswersIsSaidAsRussianSaysIt) {
  const struct {
    int64_t count;
    const char16_t* text;
  } cases[] = {
      {1, u"Получен 1 ответ с \"ноутбук\""},        {2, u"Получено 2 ответа с \"ноутбук\""},
      {4, u"Получено 4 ответа с \"ноутбук\""},      {5, u"Получено 5 ответов с \"ноутбук\""},
      {11, u"Получено 11 ответов с \"ноутбук\""},   {12, u"Получено 12 ответов с \"ноутбук\""},
      {21, u"Получен 21 ответ с \"ноутбук\""},      {22, u"Получено 22 ответа с \"ноутбук\""},
      {111, u"Получено 111 ответов с \"ноутбук\""}, {1000, u"Получено 1000 ответов с \"ноутбук\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArrivalText({{"ноутбук", c.count, 0}}), QString::fromStdU16String(c.text)) << c.count;
  }
  // Exam results alone say nothing; several machines, each its part.
  EXPECT_EQ(ArrivalText({{"pc", 0, 2}}), QString());
  EXPECT_EQ(ArrivalText({{"pc", 3, 0}, {"laptop", 1, 0}}),
            QStringLiteral("Получено 3 ответа с \"pc\"; Получен 1 ответ с \"laptop\""));
}

TEST(ProgressSyncSettings, TheFolderIsKeptUnderSyncAndCanBeSetByHand) {
  const test::TempFolder folder;
  const QString file = QString::fromStdString((folder.Path() / "verbaro.conf").string());
  folder.Write("verbaro.conf", "[sync]\nfolder=/home/me/Sync/verbaro  \n");
  UserSettings settings(file);
  EXPECT_EQ(settings.SyncFolder(), QStringLiteral("/home/me/Sync/verbaro"));
  settings.SetSyncFolder(QStringLiteral(""));
  EXPECT_EQ(UserSettings(file).SyncFolder(), QString());
  settings.SetSyncFolder(QStringLiteral("/mnt/usb"));
  std::ifstream in(folder.Path() / "verbaro.conf");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("[sync]\nfolder=/mnt/usb"), std::string::npos) << text;
}

TEST(ProgressSyncMenu, TheSettingsMenuOffersTheFolderAfterTheVideoSettings) {
  const Menu* settings = nullptr;
  for (const Menu& menu : MenuTable()) {
    if (menu.title == QStringLiteral("&5-Настройки")) settings = &menu;
  }
  ASSERT_NE(settings, nullptr);
  ASSERT_EQ(settings->items.size(), 2u);
  EXPECT_EQ(settings->items[0].command, cmd::kVideoSettings);
  EXPECT_EQ(settings->items[1].command, 2003);
  EXPECT_EQ(settings->items[1].text, QStringLiteral("&1-Синхронизация прогресса..."));
}

// Two machines on one computer: each its store, settings and pass thread, one shared folder.
struct SyncedMachine {
  explicit SyncedMachine(const fs::path& shared) {
    settings.SetSyncFolder(QString::fromStdString(shared.string()));
  }
  test::TempFolder home;
  FakeClock clock;
  std::string storePath = (home.Path() / "progress.sqlite").string();
  UserSettings settings{QString::fromStdString((home.Path() / "verbaro.conf").string())};
  std::unique_ptr<progress::ProgressStore> store = progress::ProgressStore::Open(storePath, clock);
  std::unique_ptr<progress::LessonProgress> lesson = store->OpenLesson(Words(5), "fr.db");
  ProgressSync sync{storePath, clock, &settings};
  QStringList told;
  QMetaObject::Connection c = QObject::connect(&sync, &ProgressSync::Status, &sync,
                                               [this](const QString& text) { told << text; });
};

TEST(ProgressSyncPasses, AnswersOfOneMachineReachTheOthersReviewListWithAStatusText) {
  test::EnsureApplication();
  const test::TempFolder shared;
  SyncedMachine desk(shared.Path());
  SyncedMachine laptop(shared.Path());
  desk.lesson->RecordTyping(Direction::Reverse, std::vector{3}, Wrong(4), Direction::Forward);
  desk.sync.Start();
  desk.sync.Finish();  // waits for the pass: the desk's journal is in the folder
  EXPECT_TRUE(desk.told.isEmpty());

  laptop.sync.Start();
  ASSERT_TRUE(test::WaitFor([&] { return !laptop.told.isEmpty(); }, 10000));
  EXPECT_EQ(laptop.told, QStringList{QStringLiteral("Получен 1 ответ с \"%1\"")
                                         .arg(QString::fromStdString(progress::HostName()))});
  EXPECT_EQ(laptop.lesson->MissedEntries(Direction::Reverse), (std::vector{3}));
  // Nothing new: the next passes say nothing.
  laptop.sync.Request();
  laptop.sync.Finish();
  test::Spin(50);
  EXPECT_EQ(laptop.told.size(), 1);
}

TEST(ProgressSyncPasses, AMissingFolderIsToldOnceAndTheMachineCatchesUpWhenItIsBack) {
  test::EnsureApplication();
  const test::TempFolder root;
  const fs::path shared = root.Path() / "usb";
  SyncedMachine desk(shared);
  desk.lesson->RecordTyping(Direction::Reverse, std::vector{1}, Wrong(4), Direction::Forward);
  desk.sync.Start();
  ASSERT_TRUE(test::WaitFor([&] { return !desk.told.isEmpty(); }, 10000));
  EXPECT_TRUE(
      desk.told.front().startsWith(QStringLiteral("Папка синхронизации прогресса недоступна")))
      << desk.told.front().toStdString();
  desk.sync.Request();
  desk.sync.Request();
  test::Spin(300);
  EXPECT_EQ(desk.told.size(), 1);
  fs::create_directories(shared);
  desk.sync.Finish();
  EXPECT_EQ(progress::ScanFolder(shared.string()).size(), 1u);
}

TEST(ProgressSyncDialog, TheDialogListsTheMachinesOfTheFolderThisOneMarked) {
  test::EnsureApplication();
  const test::TempFolder shared;
  SyncedMachine desk(shared.Path());
  desk.sync.Start();
  desk.sync.Finish();
  test::Spin(20);
  shared.Write("verbaro-progress-" + std::string(32, 'b') + ".vbsync", "VERBSYNC cut short");
  SyncDialog dialog(QString::fromStdString(shared.Path().string()), desk.sync.MachineId());
  QTreeWidget* list = dialog.Machines();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  // by file name: the damaged one's name begins with b, this machine's id is random
  const int own = list->topLevelItem(0)->text(1).startsWith(QStringLiteral("файл неполон")) ? 1 : 0;
  EXPECT_EQ(list->topLevelItem(own)->text(0),
            QString::fromStdString(progress::HostName()) + QStringLiteral(" (этот компьютер)"));
  EXPECT_EQ(list->topLevelItem(own)->text(1).size(), 16);  // dd.MM.yyyy HH:mm
  EXPECT_TRUE(list->topLevelItem(1 - own)->text(1).startsWith(QStringLiteral("файл неполон")));
  EXPECT_EQ(list->topLevelItem(1 - own)->text(0).toStdString(),
            "verbaro-progress-" + std::string(32, 'b') + ".vbsync");
  dialog.FolderField()->setText(QString());
  dialog.ShowMachines();
  EXPECT_EQ(list->topLevelItemCount(), 0);
  EXPECT_EQ(dialog.ChosenFolder(), QString());
}

}  // namespace
}  // namespace verbaro
