#pragma once
// The frame's accelerator table. An accelerator is a virtual key with the exact Ctrl, Alt and
// Shift state it needs. A Ctrl or Alt press with a letter key is matched by the letter the key
// gives in the active keyboard layout (Ctrl with the key that gives "a" on AZERTY is Ctrl+A), and
// by the key's place only where the layout gives no Latin letter (with a Russian layout the key
// O still opens a lesson with Ctrl): see app/ShortcutKey.h. Function keys go by physical key.
#include <QObject>
#include <QStringList>
#include <Qt>
#include <functional>

#include "app/ShortcutKey.h"

class QWidget;

namespace verbaro {

// The command of a key with the given modifiers, or 0 when that is no accelerator. Only Ctrl,
// Alt and Shift count, and all three must be as the table says (Ctrl+Shift+O is not Ctrl+O).
int AcceleratorCommand(int virtualKey, Qt::KeyboardModifiers modifiers);

// The keys of a command as the table has them, in its order ("Alt+F5", "Shift+F5"); the first is
// the one the command's menu item shows.
QStringList AcceleratorNames(int command);

// A toolbar tooltip that names the keys of a command that has more than one ("Конспект-2
// (Alt+F5, Shift+F5)"), so the learner finds the second key where a desktop takes the first.
// Any other tooltip is returned as it is.
QString ToolTipWithKeys(const QString& toolTip, int command);

// Turns the key presses that reach any widget of one window into commands before the widget
// sees them. Installed on the application, so that it sees the key whichever child has the focus;
// keys of other windows (dialogs, message boxes, open menus) are left alone.
class AcceleratorFilter : public QObject {
  Q_OBJECT

 public:
  // latinLayoutLetter reads the active keymap for presses on a non-Latin layout; without it
  // such presses go by the key's US place.
  AcceleratorFilter(QWidget* window, std::function<void(int)> onCommand,
                    LatinLayoutLetter latinLayoutLetter = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_window;
  std::function<void(int)> m_onCommand;
  LatinLayoutLetter m_latinLayoutLetter;
};

}  // namespace verbaro
