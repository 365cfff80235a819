#pragma once
// A Filters menu that remembers what a view showed in it.
#include "views/FilterMenu.h"

namespace verbaro {

class FakeFilterMenu : public FilterMenu {
 public:
  void Fill(const FilterMenuItemList& shown) override {
    items = shown;
    ++fills;
  }

  FilterMenuItemList items;
  int fills = 0;
};

}  // namespace verbaro
