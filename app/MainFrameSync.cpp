// CMainFrame: progress that follows the learner through a synced folder.
#include <QStatusBar>

#include "app/LearnerMemory.h"
#include "app/MainFrame.h"
#include "app/ProgressSync.h"
#include "app/SyncDialog.h"
#include "data/DiagnosticLog.h"
#include "platform/DialogPlacement.h"
#include "platform/QtText.h"
#include "views/WordsView.h"

namespace verbaro {

void CMainFrame::UseProgressSync(ProgressSync* sync) {
  m_sync = sync;
  if (!m_sync) return;
  // Never a box: what arrived, or why the folder cannot be used, shows in the status bar.
  connect(m_sync, &ProgressSync::Status, this, [this](const QString& text) {
    statusBar()->showMessage(text);
    if (m_platform.log && m_platform.log->IsAttached()) {
      m_platform.log->Line(u"Синхронизация прогресса: ", FromQ(text));
      m_platform.log->Flush();
    }
  });
}

void CMainFrame::StartSync() {
  if (m_sync) m_sync->Start();
}

void CMainFrame::RequestSync() {
  if (m_sync) m_sync->Request();
}

void CMainFrame::FinishSync() {
  if (!m_sync) return;
  // Answers still queued behind the last keys go with the last pass.
  if (m_memory) m_memory->Flush();
  m_sync->Finish();
}

void CMainFrame::ChooseSyncFolder(CWordsView* view) {
  if (!m_sync) return;
  const CWordsView::TickHold hold(view);
  SyncDialog dialog(m_sync->Folder(), m_sync->MachineId(), this);
  if (ExecDialog(dialog) != QDialog::Accepted) return;
  if (dialog.ChosenFolder() != m_sync->Folder()) m_sync->SetFolder(dialog.ChosenFolder());
}

}  // namespace verbaro
