#pragma once
// The frame's accelerator table. An accelerator is a virtual key, named by its place on a US
// keyboard, with the exact Ctrl, Alt and Shift state it needs. Keys are matched by physical
// position (the virtual key the views also read), never by the character the keyboard layout
// gives: with a Russian-only layout the key O still opens a lesson with Ctrl, and on a French
// layout Ctrl with the key that gives "a" (the US Q key) is no accelerator.
#include <QObject>
#include <QStringList>
#include <Qt>
#include <functional>

class QWidget;

namespace verbaro {

// The command of a key with the given modifiers, or 0 when that is no accelerator. Only Ctrl,
// Alt and Shift count, and all three must be as the table says (Ctrl+Shift+O is not Ctrl+O).
int AcceleratorCommand(int virtualKey, Qt::KeyboardModifiers modifiers);

// The keys of a command as the table has them, in its order ("Alt+F5", "Shift+F5").
QStringList AcceleratorNames(int command);

// A toolbar tooltip that names the keys of a command that has more than one ("Конспект-2
// (Alt+F5, Shift+F5)"), so the learner finds the second key where a desktop takes the first.
// Any other tooltip is returned as it is.
QString ToolTipWithKeys(const QString& toolTip, int command);

// Turns the key presses that reach any widget of one window into commands before the widget
// sees them. Installed on the application, so that it sees the key whichever child has the focus;
// keys of other windows (dialogs, message boxes, open menus) are left alone.
class CAcceleratorFilter : public QObject {
  Q_OBJECT

 public:
  CAcceleratorFilter(QWidget* window, std::function<void(int)> onCommand);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_pWindow;
  std::function<void(int)> m_onCommand;
};

}  // namespace verbaro
