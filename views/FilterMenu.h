#pragma once
// Where a view shows its filters: the frame's Filters submenu. The view hands over its items
// (command id, text) whenever its filters change; the frame owns the menu itself.
#include <string>
#include <utility>
#include <vector>

namespace verbaro {

using FilterMenuItemList = std::vector<std::pair<int, std::u16string>>;

class FilterMenu {
 public:
  virtual ~FilterMenu() = default;
  // Replaces the items of the Filters submenu by these, in this order.
  virtual void Fill(const FilterMenuItemList& items) = 0;
};

}  // namespace verbaro
