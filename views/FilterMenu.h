#pragma once
// Where a view shows its filters: the frame's Filters submenu. The view hands over its items
// (command id, text) whenever its filters change; the frame owns the menu itself.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace verbaro {

using FilterMenuItemList = std::vector<std::pair<int, std::u16string>>;

// An item with this id and no text is a separator.
inline constexpr int kFilterSeparator = 0;
// The review filters that follow the grammatical ones when the lesson has history.
inline constexpr int kMissedFilterCommand = 836;
inline constexpr int kDueFilterCommand = 837;
// The hardest entries, those the statistics window lists (its «Повторить их» chooses them).
inline constexpr int kHardFilterCommand = 838;
inline constexpr std::u16string_view kMissedFilterName = u"Слова с ошибками";
inline constexpr std::u16string_view kDueFilterName = u"На сегодня";
inline constexpr std::u16string_view kHardFilterName = u"Трудные слова";

class FilterMenu {
 public:
  virtual ~FilterMenu() = default;
  // Replaces the items of the Filters submenu by these, in this order.
  virtual void Fill(const FilterMenuItemList& items) = 0;
};

}  // namespace verbaro
