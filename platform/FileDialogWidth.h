#pragma once
// Qt's own open-file dialog, used where the desktop offers none (no platform theme), opens at a
// size of its own that cuts the size, type and date of a lesson short at a common 1366 x 768
// screen ("448...KiB", "SQL...ase", "7 Dec ...:48:31"). Fitted, its detail columns follow their
// contents, the name column takes the rest, and the dialog opens wide enough for them, within
// the screen's work area.
#include <QSize>

class QFileDialog;
class QFontMetrics;
class QRect;

namespace verbaro {

// The width the size, type and date columns take for the texts a lesson folder shows in them,
// in the list's font.
int DetailColumnsWidth(const QFontMetrics& metrics);

// The dialog's size: `current` grown by what the file list lacks (`wantedList` against
// `shownList`, its width now), at least `minimumHeight` tall, never beyond `available` less a
// margin on each side.
QSize FittedDialogSize(QSize current, int shownList, int wantedList, int minimumHeight,
                       const QRect& available);

// Fits the dialog as it is shown. A dialog of the desktop (no list of Qt's own) is left alone.
void FitDetailColumns(QFileDialog& dialog);

}  // namespace verbaro
