#pragma once
// «Импорт урока...» in the File menu: the learner chooses a deck, a dictionary or a table, sees
// in the import window what the lesson will hold and imports it; the tool's report follows in a
// box. The frame then opens the lesson as «Открыть» would.
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/Platform.h"

class QWidget;

namespace verbaro {

// The choices of the file dialog that picks the source.
QStringList ImportSourceFilters();

// The lesson tool this program runs: VERBARO_LESSON_TOOL when set, else the one found beside
// the program, in the build tree or on the PATH; empty when there is none.
QString LessonToolOfThisProgram();

// Runs the whole command with `tool`; gives the lesson written, nothing when none was (cancelled,
// or the failure already told).
std::optional<QString> RunImportLesson(QWidget* owner, const Platform& platform,
                                       const QString& tool);

}  // namespace verbaro
