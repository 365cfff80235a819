#pragma once
// The six study modes: command, keys and texts. The mode index is the command id minus 700 and
// also the index of the frame's view.
#include <QString>
#include <array>

namespace verbaro {

struct ModeInfo {
  int command;
  QString menuText;       // the Modules menu item
  QString statusText;     // the status bar while the mode is current (also the item's prompt)
  QString toolTip;
};

const std::array<ModeInfo, 6>& ModeTable();

}  // namespace verbaro
