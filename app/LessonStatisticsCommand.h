#pragma once
// «Статистика урока» (F8): the statistics window of the current mode's lesson, with its counts
// written to the diagnostic log; without a lesson, the program's usual box.
#include <optional>

#include "data/progress/ProgressTypes.h"
#include "platform/Platform.h"

class QWidget;

namespace verbaro {

class CWordsView;
namespace progress {
class LessonProgress;
}

// progress: the lesson's progress in the store (null without a lesson or a store). Runs the
// window modally; gives the direction of the tab whose «Повторить их» the learner pressed, or
// nothing when the window was just closed.
std::optional<progress::Direction> ShowLessonStatistics(QWidget* owner, const Platform& platform,
                                                        const CWordsView* view, int modeIndex,
                                                        const progress::LessonProgress* progress);

// The mode that repeats a tab's hardest entries: the current mode's kind (Конспект, Видео,
// Экзамен) whose answers count for the tab's direction; Экзамен-1 and the Russian → French tab
// give Экзамен-2, Конспект-2 and that tab Конспект-1 (typed from memory).
int ReviewModeOf(int modeIndex, progress::Direction direction);

}  // namespace verbaro
