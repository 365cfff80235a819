#pragma once
// CMainFrame: the only top-level window. Owns the menu bar, the toolbar, the status bar and the
// six study views, one of which fills the client area. Every menu item, shortcut and toolbar
// button carries its command id and reaches OnCommand(id).
#include <QMainWindow>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/QuietMessageBoxes.h"
#include "app/StartLesson.h"
#include "data/StudyMode.h"
#include "platform/Platform.h"

class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QToolBar;

namespace verbaro {

class CWordsView;
class QtFilterMenu;
class LearnerMemory;
namespace progress {
class LessonProgress;
class ProgressStore;
}  // namespace progress
class UserSettings;
class ProgressSync;
struct MenuItem;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(const Platform& platform);
  ~CMainFrame() override;

  // Builds the menu, toolbar, status bar and the Conspect-1 view, and places the window on the
  // given frame rectangle. False when the window cannot be made.
  bool CreateFrame(const QRect& frameRect);

  void OnCommand(int id);

  // A lesson to open in every mode as the mode is first shown, as Ctrl+O there would open it
  // (the file given on the command line). Call before the frame is shown.
  void SetStartLesson(const QString& path) { m_startLesson.SetPath(path); }
  // The learner's settings that stay between starts; without them (null) every start begins
  // with the built-in values and nothing is kept. Call before CreateFrame.
  // With them, each mode also resumes where it was left and a mode shown for the first time
  // opens the lesson opened last.
  void UseSettings(UserSettings* settings);
  // The learner's progress store: the views' answers are recorded in it, the Filters menu gets
  // the review filters and the File menu can forget a lesson's progress. Null: nothing is kept.
  // Call before CreateFrame.
  void UseProgressStore(progress::ProgressStore* store);
  // Progress that follows the learner through a synced folder: passes at start, as lessons open
  // and at the end, and «5-Настройки» can choose the folder. Null: no such item. Call before
  // CreateFrame (MainFrameSync.cpp).
  void UseProgressSync(ProgressSync* sync);
  // The progress of the lesson open in a mode (null without a store or a lesson).
  progress::LessonProgress* LessonProgressOf(int modeIndex) const;

  // The view whose window fills the client area, or null.
  CWordsView* CurrentView() const;
  CWordsView* View(int modeIndex) const { return m_views[static_cast<size_t>(modeIndex)].get(); }
  int CurrentModeIndex() const;
  QString StatusText() const;
  QMenu* FiltersMenu() const { return m_filtersMenu; }
  QToolBar* ToolBar() const { return m_toolBar; }
  QAction* Action(int id) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenu();
  void BuildFiltersMenu(QMenu* menu);
  void BuildToolBar();
  void BuildStatusBar();
  QAction* MakeAction(const MenuItem& item);
  void SwitchMode(int modeIndex);
  void CreateViewWindow(int modeIndex);
  void ToggleToolBar();
  void ToggleStatusBar();
  void OpenStartLesson(int modeIndex);
  // At a mode's first showing without a lesson from the command line: the lesson it was left
  // with, at the place it was left, or else the lesson opened last; quietly, so that a file gone
  // since leaves the mode as on a first start (MainFrameMemory.cpp).
  void OpenRememberedLesson(int modeIndex);
  // After a successful opening in the current mode; tells the store's notice, once.
  void NoteLessonOpened(int modeIndex);
  // The mode shown, kept for the next start once the learner has a lesson; and that mode made
  // current as the frame is made (MainFrameMemory.cpp).
  void RememberMode(int modeIndex);
  void StartInLastMode();
  // Makes the memory anew over the settings and the store given.
  void MakeMemory();
  // The File menu's command: forgets the current lesson's progress after the learner agrees.
  void ForgetProgress();
  // The kept settings (MainFrameMemory.cpp): the bars and the window's place when the frame is
  // made, each mode's sound and Video values when its window is made, and each change as made.
  void ApplyFrameSettings();
  void ApplyModeSettings(int modeIndex);
  void RememberModeSettings(int modeIndex);
  void RememberFrameSettings();

  // What a command id does, given the current view (null before any view is shown). A new
  // command is one entry in the table of Commands().
  struct Command {
    int id;
    void (*run)(CMainFrame& frame, CWordsView* view);
  };
  static const std::vector<Command>& Commands();
  bool RequireView(const CWordsView* view);
  void OpenLesson(CWordsView* view);
  // «Импорт урока...»: a lesson made from a deck, dictionary or table, then opened
  // (MainFrameImport.cpp).
  void ImportLesson(CWordsView* view);
  void ToggleSound(CWordsView* view);
  void RunVideoSettingsOf(CWordsView* view);
  // F8: the statistics window of the current mode's lesson (app/LessonStatisticsCommand).
  void ShowStatistics(CWordsView* view);
  // «Повторить их» of the statistics window: the hardest entries of `lesson` in a mode.
  void ReviewHardest(int modeIndex, const std::u16string& lesson);
  // The first pass once the window shows; the last one, with the events still queued, as it
  // closes.
  void StartSync();
  void FinishSync();
  // A pass after a lesson opened: what another machine recorded for it arrives.
  void RequestSync();
  // «Синхронизация прогресса...»: the folder, in a dialog.
  void ChooseSyncFolder(CWordsView* view);
  void ShowHelp(CWordsView* view);
  void ShowAbout(CWordsView* view);

  StartLesson m_startLesson;          // before m_platform: the views choose their files through it
  QuietMessageBoxes m_quietMessages;  // and show their boxes through this
  const Platform m_platform;
  std::array<std::unique_ptr<CWordsView>, kModeCount> m_views;
  QStackedWidget* m_client = nullptr;
  QMenu* m_filtersMenu = nullptr;
  std::unique_ptr<QtFilterMenu> m_filterMenu;  // what the views fill
  QToolBar* m_toolBar = nullptr;
  QLabel* m_statusLabel = nullptr;
  std::map<int, QAction*> m_actions;
  bool m_shownOnce = false;
  UserSettings* m_settings = nullptr;
  progress::ProgressStore* m_store = nullptr;
  std::unique_ptr<LearnerMemory> m_memory;
  ProgressSync* m_sync = nullptr;
  std::array<bool, kModeCount> m_modeShown{};
  static bool s_bToolBarVisible;
};

}  // namespace verbaro
