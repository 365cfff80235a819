#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "app/UserSettings.h"
#include "tests/support/TempFolder.h"

namespace verbaro {
namespace {

QString SettingsFile(const test::TempFolder& folder) {
  return QString::fromStdString((folder.Path() / "verbaro" / "verbaro.conf").string());
}

TEST(UserSettings, AFreshLearnerReadsTodaysDefaultsAndNothingIsWritten) {
  const test::TempFolder folder;
  const UserSettings settings(SettingsFile(folder));
  for (int mode = 0; mode < 6; ++mode) {
    EXPECT_EQ(settings.Video(mode).delay, 0u) << mode;
    EXPECT_EQ(settings.Video(mode).repeats, 1u) << mode;
    EXPECT_TRUE(settings.SoundOn(mode)) << mode;
  }
  EXPECT_TRUE(settings.ToolBarVisible());
  EXPECT_TRUE(settings.StatusBarVisible());
  EXPECT_TRUE(settings.WindowGeometry().isEmpty());
  EXPECT_FALSE(QFileInfo::exists(SettingsFile(folder)));
}

TEST(UserSettings, EachModeKeepsItsOwnValuesAcrossStarts) {
  const test::TempFolder folder;
  {
    UserSettings settings(SettingsFile(folder));
    settings.SetVideo(2, {250, 3});
    settings.SetVideo(3, {10000, 10});
    settings.SetSoundOn(4, false);
    settings.SetToolBarVisible(false);
    settings.SetWindowGeometry(QByteArrayLiteral("\x01\x02\x00\xff"));
  }
  // Written at once: a second reader (the next start) sees it while the first still runs.
  const UserSettings next(SettingsFile(folder));
  EXPECT_EQ(next.Video(2).delay, 250u);
  EXPECT_EQ(next.Video(2).repeats, 3u);
  EXPECT_EQ(next.Video(3).delay, 10000u);
  EXPECT_EQ(next.Video(3).repeats, 10u);
  EXPECT_EQ(next.Video(0).repeats, 1u);
  EXPECT_FALSE(next.SoundOn(4));
  EXPECT_TRUE(next.SoundOn(5));
  EXPECT_FALSE(next.ToolBarVisible());
  EXPECT_TRUE(next.StatusBarVisible());
  EXPECT_EQ(next.WindowGeometry(), QByteArrayLiteral("\x01\x02\x00\xff"));
}

TEST(UserSettings, AHandEditedFileNeverGivesValuesTheDialogWouldRefuse) {
  const test::TempFolder folder;
  std::filesystem::create_directories(folder.Path() / "verbaro");
  const std::filesystem::path file =
      folder.Write("verbaro/verbaro.conf",
                   "[Video1]\ndelay=99999999\nrepeats=0\n"
                   "[Video2]\ndelay=-5\nrepeats=abc\n"
                   "[Conspect1]\nsound=0\n"
                   "[Window]\ntoolbar=yes please\nstatusbar=false\n");
  const UserSettings settings(QString::fromStdString(file.string()));
  EXPECT_EQ(settings.Video(2).delay, 10000u);
  EXPECT_EQ(settings.Video(2).repeats, 1u);
  EXPECT_EQ(settings.Video(3).delay, 0u);
  EXPECT_EQ(settings.Video(3).repeats, 1u);
  EXPECT_TRUE(settings.SoundOn(0));
  EXPECT_TRUE(settings.ToolBarVisible());
  EXPECT_FALSE(settings.StatusBarVisible());
  // An index that is no mode reads the defaults and writes nothing.
  UserSettings writer(QString::fromStdString(file.string()));
  writer.SetVideo(6, {5, 5});
  writer.SetSoundOn(-1, false);
  EXPECT_EQ(writer.Video(6).repeats, 1u);
  EXPECT_TRUE(writer.SoundOn(-1));
}

TEST(UserSettings, ASettingsFileThatCannotBeWrittenLosesNothingElse) {
  const test::TempFolder folder;
  // The settings folder is a plain file: nothing can be written under it.
  folder.Write("verbaro", "not a folder");
  UserSettings settings(SettingsFile(folder));
  settings.SetVideo(2, {300, 2});
  settings.SetToolBarVisible(false);
  // The running program keeps what was chosen even though it could not be stored.
  EXPECT_EQ(settings.Video(2).delay, 300u);
  EXPECT_FALSE(settings.ToolBarVisible());
}

TEST(UserSettings, TheDefaultFileFollowsXdgConfigHome) {
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  const test::TempFolder folder;
  const QString home = QString::fromStdString(folder.Path().string());
  qputenv("XDG_CONFIG_HOME", home.toUtf8());
  EXPECT_EQ(UserSettings::DefaultFile(), home + QStringLiteral("/verbaro/verbaro.conf"));
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_TRUE(
      UserSettings::DefaultFile().endsWith(QStringLiteral("/.config/verbaro/verbaro.conf")));
  if (!saved.isNull()) qputenv("XDG_CONFIG_HOME", saved);
}

}  // namespace
}  // namespace verbaro
