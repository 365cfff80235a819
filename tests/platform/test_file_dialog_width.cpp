// Qt's own open-file dialog, fitted: the size, type and date of every file show whole, and the
// dialog stays within the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>
#include <filesystem>
#include <string>

#include "platform/FileDialogWidth.h"
#include "tests/support/Application.h"
#include "tests/support/TempFolder.h"

namespace verbaro {
namespace {

// A small screen (a 1024 x 600 netbook, less its panel): the dialog stays within its work area,
// 16 pixels clear of each edge, however much its list lacks.
TEST(FittedDialogSize, NeverLeavesTheWorkArea) {
  const QRect netbook(0, 24, 1024, 576);
  EXPECT_EQ(FittedDialogSize({636, 412}, 507, 1400, 384, netbook), QSize(992, 412));
  EXPECT_EQ(FittedDialogSize({636, 700}, 507, 600, 384, netbook), QSize(729, 544));
}

// XDG_CONFIG_HOME for the life of the object.
class ConfigFolder {
 public:
  explicit ConfigFolder(const std::string& path)
      : m_had(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")), m_before(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(path));
  }
  ~ConfigFolder() {
    if (m_had) {
      qputenv("XDG_CONFIG_HOME", m_before);
    } else {
      qunsetenv("XDG_CONFIG_HOME");
    }
  }

 private:
  bool m_had;
  QByteArray m_before;
};

TEST(FitDetailColumns, EverySizeTypeAndDateShowsWholeAndTheDialogStaysOnTheScreen) {
  test::EnsureApplication();
  test::TempFolder folder;
  // Qt keeps the dialog's state in its own settings file: the test's folder, not the user's.
  const ConfigFolder config((folder.Path() / "config").string());
  // A lesson file: SQLite's header, 208 KiB long, and a second of 1.4 MiB.
  std::string lesson("SQLite format 3", 16);
  lesson.resize(208 * 1024, '\0');
  folder.Write("03-accents.db", lesson);
  lesson.resize(1480 * 1024, '\0');
  folder.Write("01-premiers-mots.db", lesson);
  std::filesystem::create_directory(folder.Path() / "Уроки французского");

  QFileDialog dialog(nullptr, QString(), QString::fromStdString(folder.Path().string()),
                     QStringLiteral("Db-файлы (*.db);;All Files (*)"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setViewMode(QFileDialog::Detail);
  // Narrow columns, as a state that Qt saved after an earlier opening brings them back.
  auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_NE(list, nullptr);
  for (int column = 1; column < 4; ++column) list->header()->resizeSection(column, 40);
  FitDetailColumns(dialog);
  dialog.show();

  const QAbstractItemModel* model = list->model();
  ASSERT_TRUE(test::WaitFor([&] { return model->rowCount(list->rootIndex()) == 3; }, 5000));
  test::Spin(100);  // the columns follow the rows as they come

  const QFontMetrics metrics = list->fontMetrics();
  for (int row = 0; row < 3; ++row) {
    for (int column = 1; column < 4; ++column) {
      const QString text = model->index(row, column, list->rootIndex()).data().toString();
      // The cell's margins on both sides.
      EXPECT_LE(metrics.horizontalAdvance(text) + 6, list->header()->sectionSize(column))
          << text.toStdString() << " is cut short in column " << column;
    }
  }
  // The name column keeps room for a long lesson name beside its icon.
  const QString name = QStringLiteral("01-premiers-mots.db");
  EXPECT_LE(metrics.horizontalAdvance(name) + list->iconSize().width() + 12,
            list->header()->sectionSize(0));
  const QRect available = dialog.screen()->availableGeometry();
  EXPECT_TRUE(available.contains(dialog.geometry()))
      << dialog.width() << " x " << dialog.height() << " on " << available.width() << " x "
      << available.height();
  dialog.hide();
}

}  // namespace
}  // namespace verbaro
