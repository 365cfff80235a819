// The menu bar against the keys: each item's shortcut text must name the key that really
// triggers its command, every accelerator must be shown by an item, the manual must name each
// shortcut, and the frame's menus must be the ones the table describes.
#include <gtest/gtest.h>

#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>
#include <set>

#include "app/Accelerators.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/MenuTable.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using namespace Qt::StringLiterals;

struct Key {
  int virtualKey = 0;
  Qt::KeyboardModifiers modifiers;
};

// The key an item's shortcut text names, read the way Qt reads "Ctrl+O" or "Alt+F4".
Key KeyOf(const QString& shortcut) {
  const QKeySequence sequence = QKeySequence::fromString(shortcut, QKeySequence::PortableText);
  if (sequence.count() != 1) return {};
  const QKeyCombination combination = sequence[0];
  return {vk::FromQtKey(static_cast<int>(combination.key()), combination.keyboardModifiers()),
          combination.keyboardModifiers()};
}

std::vector<MenuItem> ItemsWithShortcuts() {
  std::vector<MenuItem> items;
  for (const Menu& menu : MenuTable()) {
    for (const MenuItem& item : menu.items) {
      if (!ShortcutText(item).isEmpty()) items.push_back(item);
    }
  }
  return items;
}

TEST(MenuShortcuts, EachShownShortcutTriggersItsOwnItemsCommand) {
  const std::vector<MenuItem> items = ItemsWithShortcuts();
  ASSERT_FALSE(items.empty());
  for (const MenuItem& item : items) {
    SCOPED_TRACE(item.text.toStdString());
    const Key key = KeyOf(ShortcutText(item));
    ASSERT_NE(key.virtualKey, 0) << "a shortcut text Qt cannot read";
    EXPECT_EQ(AcceleratorCommand(key.virtualKey, key.modifiers), item.command);
  }
}

TEST(MenuShortcuts, EveryAcceleratorIsShownByTheItemOfItsCommand) {
  const std::vector<MenuItem> items = ItemsWithShortcuts();
  const Qt::KeyboardModifiers modifiers[] = {
      Qt::NoModifier,
      Qt::ControlModifier,
      Qt::AltModifier,
      Qt::ShiftModifier,
      Qt::ControlModifier | Qt::AltModifier,
      Qt::ControlModifier | Qt::ShiftModifier,
      Qt::AltModifier | Qt::ShiftModifier,
      Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier};
  int accelerators = 0;
  for (int virtualKey = 1; virtualKey < 256; ++virtualKey) {
    for (const Qt::KeyboardModifiers held : modifiers) {
      const int command = AcceleratorCommand(virtualKey, held);
      if (command == 0) continue;
      // Shift+F is the second key of the item that shows Alt+F (desktops take the Alt ones);
      // the menus keep their texts, the toolbar and the Help name it.
      const bool second = held == Qt::ShiftModifier;
      if (!second) ++accelerators;
      const Qt::KeyboardModifiers itemShows = second ? Qt::AltModifier : held;
      const auto shown = std::find_if(items.begin(), items.end(), [&](const MenuItem& item) {
        const Key key = KeyOf(ShortcutText(item));
        return item.command == command && key.virtualKey == virtualKey &&
               key.modifiers == itemShows;
      });
      EXPECT_NE(shown, items.end()) << "key " << virtualKey << " modifiers " << held.toInt()
                                    << " gives command " << command << " that no item shows";
    }
  }
  // One key per item besides the Shift+F second keys: no other unshown key reaches a command.
  EXPECT_EQ(accelerators, static_cast<int>(items.size()));
}

TEST(MenuShortcuts, TheManualNamesEveryShortcut) {
  test::EnsureApplication();
  QFile file(QStringLiteral(":/TEXT/help"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString manual = QString::fromUtf8(file.readAll());
  for (const MenuItem& item : ItemsWithShortcuts()) {
    // "F2" must stand alone, not as the end of "Alt+F2" or the start of "F20".
    const QString shortcut = ShortcutText(item);
    const QRegularExpression named(QStringLiteral("(?<![+\\w])") +
                                   QRegularExpression::escape(shortcut) +
                                   QStringLiteral("(?!\\w)"));
    EXPECT_TRUE(manual.contains(named)) << shortcut.toStdString();
  }
}

// The items' texts with the shortcuts the accelerator table gives them, exactly as the learner
// reads them.
TEST(MenuTable, EveryItemReadsAsTheTrainersMenuAlwaysHas) {
  QStringList texts;
  for (const Menu& menu : MenuTable()) {
    texts << menu.title;
    for (const MenuItem& item : menu.items) texts << (item.command == 0 ? u"-"_s : item.text);
  }
  EXPECT_EQ(texts.join(u'|'),
            u"&0-Файл|&0-Открыть...\tCtrl+O|&1-Забыть прогресс урока...|&2-Импорт урока...|-|"
            u"&9-Выход\tAlt+F4|"
            u"&1-Действия|&0-Повторить звук\tF2|&1-Включить/выключить звук\tAlt+F2|"
            u"&2-Показать/скрыть заголовок\tF3|&3-Показать/скрыть переводы\tAlt+F3|"
            u"&2-Вид|&0-Тулбар|&1-Статусбар|"
            u"&3-Модули|&0-Режим \"Конспект-1\"\tF5|&1-Режим \"Видео-1\"\tF6|"
            u"&2-Режим \"Экзамен-1\"\tF7|-|&3-Режим \"Конспект-2\"\tAlt+F5|"
            u"&4-Режим \"Видео-2\"\tAlt+F6|&5-Режим \"Экзамен-2\"\tAlt+F7|"
            u"&4-Фильтры|"
            u"&5-Настройки|&0-Настройка режима: \"Видео\"\tF4|&1-Синхронизация прогресса...|"
            u"&6-Прогресс|&0-Статистика урока\tF8|"
            u"&9-Помощь|&0-Помощь\tF1|&1-О программе\tCtrl+A"_s);
}

TEST(MenuTable, CommandsAreUniqueAndOnlyTheFiltersMenuIsLeftToTheViews) {
  std::set<int> commands;
  int filterMenus = 0;
  for (const Menu& menu : MenuTable()) {
    if (menu.lessonFilters) {
      ++filterMenus;
      EXPECT_TRUE(menu.items.empty());
    }
    for (const MenuItem& item : menu.items) {
      if (item.command == 0) continue;
      EXPECT_TRUE(commands.insert(item.command).second) << "command " << item.command << " twice";
      EXPECT_FALSE(item.prompt.isEmpty()) << item.command;
    }
  }
  EXPECT_EQ(filterMenus, 1);
}

TEST(MenuTable, TheFramesMenuBarIsTheTable) {
  test::EnsureApplication();
  FakePlatform fake;
  CMainFrame frame(fake.Get());
  ASSERT_TRUE(frame.CreateFrame(QRect(0, 0, 800, 600)));
  const QList<QAction*> bar = frame.menuBar()->actions();
  const std::vector<Menu>& table = MenuTable();
  ASSERT_EQ(static_cast<size_t>(bar.size()), table.size());
  for (size_t m = 0; m < table.size(); ++m) {
    SCOPED_TRACE(table[m].title.toStdString());
    EXPECT_EQ(bar[static_cast<qsizetype>(m)]->text(), table[m].title);
    QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
    ASSERT_NE(menu, nullptr);
    if (table[m].lessonFilters) {
      EXPECT_EQ(menu, frame.FiltersMenu());
      continue;
    }
    const QList<QAction*> shown = menu->actions();
    ASSERT_EQ(static_cast<size_t>(shown.size()), table[m].items.size());
    for (size_t i = 0; i < table[m].items.size(); ++i) {
      const MenuItem& item = table[m].items[i];
      QAction* action = shown[static_cast<qsizetype>(i)];
      if (item.command == 0) {
        EXPECT_TRUE(action->isSeparator()) << i;
        continue;
      }
      EXPECT_EQ(action, frame.Action(item.command));
      EXPECT_EQ(action->text(), item.text);
      EXPECT_EQ(action->statusTip(), item.prompt);
      // A toolbar button whose command has a second key names both keys in its tooltip.
      const QString toolTip = item.toolTip.isEmpty() ? item.prompt : item.toolTip;
      EXPECT_EQ(action->toolTip(), frame.ToolBar()->actions().contains(action)
                                       ? ToolTipWithKeys(toolTip, item.command)
                                       : toolTip);
      EXPECT_EQ(action->isCheckable(), item.checkable);
      // A checkable item starts checked: the toolbar and the status bar are shown.
      EXPECT_EQ(action->isChecked(), item.checkable);
    }
  }
}

}  // namespace
}  // namespace verbaro
