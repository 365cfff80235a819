// The frame's «Импорт урока...»: the new lesson opens in the current mode through the same
// opening as «Открыть», its file dialog answered with the lesson's path.
#include "app/Commands.h"
#include "app/ImportLessonCommand.h"
#include "app/MainFrame.h"
#include "views/WordsView.h"

namespace verbaro {

void CMainFrame::ImportLesson(CWordsView* view) {
  std::optional<QString> lesson;
  {
    // A play-through waits while the windows of the import are open.
    const CWordsView::TickHold hold(view);
    lesson = RunImportLesson(this, m_platform, LessonToolOfThisProgram());
  }
  if (!lesson) return;
  m_startLesson.ArmWith(*lesson);
  OnCommand(cmd::kOpen);
  m_startLesson.Disarm();
}

}  // namespace verbaro
