#pragma once
// The frame's menu bar as data: each pull-down with its items in order. A new menu item is one
// entry here (and its command one entry in the frame's command table); the frame builds the
// menus, the toolbar finds its buttons among these items. An item's shortcut text comes from the
// accelerator table, so a key is written once.
#include <QString>
#include <vector>

namespace verbaro {

struct MenuItem {
  int command = 0;  // 0: a separator
  QString text;     // the item, with the shortcut it shows after a tab (the command's first key)
  QString prompt;   // the status bar while the item is highlighted
  QString toolTip;  // empty: the prompt
  bool checkable = false;
};

struct Menu {
  QString title;
  std::vector<MenuItem> items;
  bool lessonFilters = false;  // filled by the current view instead (the Filters menu)
};

const std::vector<Menu>& MenuTable();

// The shortcut an item's text shows after its tab ("Ctrl+O"), or empty.
QString ShortcutText(const MenuItem& item);

}  // namespace verbaro
