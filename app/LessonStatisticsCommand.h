#pragma once
// «Статистика урока» (F8): the statistics window of the current mode's lesson, with its counts
// written to the diagnostic log; without a lesson, the program's usual box.
#include "platform/Platform.h"

class QWidget;

namespace verbaro {

class CWordsView;
namespace progress {
class LessonProgress;
}

// progress: the lesson's progress in the store (null without a lesson or a store). Runs the
// window modally; true when the learner asked to repeat the missed words («Повторить их»).
bool ShowLessonStatistics(QWidget* owner, const Platform& platform, const CWordsView* view,
                          int modeIndex, const progress::LessonProgress* progress);

}  // namespace verbaro
