#pragma once
// The frame's Filters submenu as the views see it. The submenu object stays the same for the
// whole run, so the frame's connection to it holds; filling it replaces its items. Each item
// carries its command id and the status prompt that belongs to that id.
#include <QString>

#include "views/FilterMenu.h"

class QMenu;

namespace verbaro {

class QtFilterMenu : public FilterMenu {
 public:
  explicit QtFilterMenu(QMenu* menu) : m_menu(menu) {}

  void Fill(const FilterMenuItemList& items) override;

  // The status prompt of a Filters item: only the item of all words and phrases has one.
  static QString Prompt(int id);

 private:
  QMenu* m_menu;
};

}  // namespace verbaro
