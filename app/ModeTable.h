#pragma once
// The six study modes as the frame shows them: command, menu item and texts, in the modes'
// order, so that a mode's index is also the index of the frame's view.
#include <QString>
#include <array>

#include "data/StudyMode.h"

namespace verbaro {

struct ModeInfo {
  StudyMode mode;
  int command;
  QString menuText;    // the Modules menu item, without its shortcut
  QString statusText;  // the status bar while the mode is current (also the item's prompt)
  QString toolTip;
};

const std::array<ModeInfo, kModeCount>& ModeTable();

}  // namespace verbaro
