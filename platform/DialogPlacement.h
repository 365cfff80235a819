#pragma once
// Running the program's boxes and dialogs where the learner sees them: centred over the main
// window, with the keyboard in them until they close.
//
// On X11, and on the Wayland desktops that place a dialog over the window it names as its
// parent, a dialog is a window of its own over the main window. GNOME's compositor on Wayland
// places such a dialog like any new window instead (at the edge of the screen or in a corner),
// where a learner may not see it, click the main window and type into nothing. There the dialog
// is drawn inside the main window: a caption bar with its title over its contents, centred, while
// the rest of the window takes no key and no click until it closes.
#include <QString>

class QDialog;
class QWidget;

namespace verbaro {

// Whether dialogs go inside the main window for this Qt platform ("wayland", "xcb", ...) and
// desktop (XDG_CURRENT_DESKTOP, such as "GNOME" or "ubuntu:GNOME"). `override`, the value of
// the environment variable VERBARO_DIALOGS, decides when it is "window" or "desktop".
bool DialogsInsideWindow(const QString& platformName, const QString& currentDesktop,
                         const QString& override);
// The same for the running program.
bool DialogsInsideWindow();

// The window a box or dialog belongs to: the owner's window, else the program's visible main
// window, else none.
QWidget* OwnerWindow(QWidget* owner);

// Whether the window holds a dialog inside it now: its keys are then the dialog's, and none is
// a shortcut of the window.
bool HoldsDialogInside(const QWidget* window);

// Runs the dialog modally as QDialog::exec() does and returns its result; inside its owner's
// window (see OwnerWindow) where DialogsInsideWindow() holds and that window is on the screen.
int ExecDialog(QDialog& dialog);

}  // namespace verbaro
