#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <utility>

#include "app/AboutDialog.h"
#include "app/Accelerators.h"
#include "app/Commands.h"
#include "app/HelpDialog.h"
#include "app/KeyboardReturn.h"
#include "app/LearnerMemory.h"
#include "app/LessonStatisticsCommand.h"
#include "app/MenuTable.h"
#include "app/ModeTable.h"
#include "app/QtFilterMenu.h"
#include "app/SettingsDialog.h"
#include "data/DiagnosticLog.h"
#include "platform/DialogPlacement.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "views/Conspect1View.h"
#include "views/Conspect2View.h"
#include "views/Exam1View.h"
#include "views/Exam2View.h"
#include "views/Video1View.h"
#include "views/Video2View.h"

namespace verbaro {

namespace {
const QString kTitle = QStringLiteral("Обучающая программа: «Verbaro, v. 1.00»");
}

bool CMainFrame::s_bToolBarVisible = true;

namespace {
Platform ChoosingThrough(const Platform& platform, FileChooser* files, MessageBoxes* messages) {
  Platform copy = platform;
  copy.files = files;
  copy.messages = messages;
  return copy;
}
}  // namespace

CMainFrame::CMainFrame(const Platform& platform)
    : m_startLesson(platform.files),
      m_quietMessages(platform.messages, platform.log),
      m_platform(ChoosingThrough(platform, &m_startLesson, &m_quietMessages)) {
  // The views are made with the frame, in mode order; their windows come on first use.
  m_views[0] = std::make_unique<CConspect1View>(m_platform);
  m_views[1] = std::make_unique<CConspect2View>(m_platform);
  m_views[2] = std::make_unique<CVideo1View>(m_platform);
  m_views[3] = std::make_unique<CVideo2View>(m_platform);
  m_views[4] = std::make_unique<CExam1View>(m_platform);
  m_views[5] = std::make_unique<CExam2View>(m_platform);
}

CMainFrame::~CMainFrame() {
  // Views go before the frame's widgets, in reverse order; each stops its sound.
  for (auto it = m_views.rbegin(); it != m_views.rend(); ++it) {
    if (*it) {
      (*it)->OnDestroy();
      (*it)->setParent(nullptr);
      it->reset();
    }
  }
  if (m_platform.log && m_platform.log->IsAttached()) {
    m_platform.log->Line(u"CMainFrame::~CMainFrame()");
    m_platform.log->Flush();
  }
}

bool CMainFrame::CreateFrame(const QRect& frameRect) {
  setWindowTitle(kTitle);
  QIcon icon;
  // Each size comes with a version of twice the pixels ("@2x"), which QIcon finds by itself.
  for (int size : {16, 32, 48}) icon.addFile(QStringLiteral(":/ICON/127/%1").arg(size));
  setWindowIcon(icon);
  // The boxes and dialogs carry the program's icon too.
  QApplication::setWindowIcon(icon);

  m_client = new QStackedWidget(this);
  setCentralWidget(m_client);
  BuildMenu();
  BuildToolBar();
  BuildStatusBar();
  // The accelerators act before the key reaches the view; the menu items only show them.
  qApp->installEventFilter(new AcceleratorFilter(
      this, [this](int id) { OnCommand(id); }, m_platform.latinLayoutLetter));
  // After any menu, box, dialog or window closes, the keys go to the view shown.
  qApp->installEventFilter(new KeyboardReturn(this, [this] { return CurrentView(); }));

  CreateViewWindow(0);
  m_client->setCurrentWidget(m_views[0].get());

  move(frameRect.topLeft());
  resize(frameRect.size());
  ApplyFrameSettings();
  StartInLastMode();
  return true;
}

QAction* CMainFrame::MakeAction(const MenuItem& item) {
  auto* action = new QAction(item.text, this);
  const int id = item.command;
  action->setData(id);
  action->setStatusTip(item.prompt);
  action->setToolTip(item.toolTip.isEmpty() ? item.prompt : item.toolTip);
  action->setCheckable(item.checkable);
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  m_actions[id] = action;
  return action;
}

QAction* CMainFrame::Action(int id) const {
  auto it = m_actions.find(id);
  return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::BuildMenu() {
  for (const Menu& table : MenuTable()) {
    QMenu* menu = menuBar()->addMenu(table.title);
    if (table.lessonFilters) {
      BuildFiltersMenu(menu);
      continue;
    }
    for (const MenuItem& item : table.items) {
      if (item.command == 0) {
        menu->addSeparator();
      } else {
        menu->addAction(MakeAction(item));
      }
    }
  }
  m_actions.at(cmd::kToggleToolbar)->setChecked(s_bToolBarVisible);
  m_actions.at(cmd::kToggleStatusBar)->setChecked(true);
  // Progress can be forgotten only where it is kept.
  m_actions.at(cmd::kForgetProgress)->setVisible(m_store != nullptr);
  m_actions.at(cmd::kProgressSync)->setVisible(m_sync != nullptr);
}

void CMainFrame::BuildFiltersMenu(QMenu* menu) {
  // The frame owns the Filters submenu; the current view fills it with its filters, each item
  // carrying its command id. Until a lesson is loaded it holds the one item of all words.
  m_filtersMenu = menu;
  m_filterMenu = std::make_unique<QtFilterMenu>(m_filtersMenu);
  m_filterMenu->Fill({{kFirstFilterCommand, u"&0-Все слова и фразы"}});
  // The counts of the review filters change as the learner answers: they are counted afresh
  // each time the menu opens.
  if (m_memory) {
    connect(m_filtersMenu, &QMenu::aboutToShow, this, [this] {
      if (CWordsView* current = CurrentView(); current && current->IsCreated()) {
        current->BuildFilterMenu();
      }
    });
  }
  connect(m_filtersMenu, &QMenu::triggered, this, [this](QAction* item) {
    bool ok = false;
    const int id = item->data().toInt(&ok);
    if (ok) OnCommand(id);
  });
}

void CMainFrame::BuildToolBar() {
  m_toolBar = addToolBar(QStringLiteral("Тулбар"));
  m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
  m_toolBar->setIconSize(QSize(16, 16));
  m_toolBar->setMovable(false);
  m_toolBar->setFloatable(false);
  m_toolBar->toggleViewAction()->setVisible(false);
  std::vector<int> buttons = {cmd::kOpen, cmd::kExit, cmd::kRepeatSound};
  for (const ModeInfo& mode : ModeTable()) buttons.push_back(mode.command);
  buttons.insert(buttons.end(), {cmd::kLessonStatistics, cmd::kHelp, cmd::kAbout});
  for (int id : buttons) {
    QAction* action = m_actions.at(id);
    action->setIcon(QIcon(QStringLiteral(":/TOOLBAR/%1").arg(id)));
    action->setToolTip(ToolTipWithKeys(action->toolTip(), id));
    m_toolBar->addAction(action);
  }
  m_toolBar->setVisible(s_bToolBarVisible);
}

void CMainFrame::BuildStatusBar() {
  m_statusLabel = new QLabel(this);
  statusBar()->addWidget(m_statusLabel, 1);
  statusBar()->setSizeGripEnabled(true);
  m_statusLabel->setText(ModeTable()[0].statusText);
}

void CMainFrame::CreateViewWindow(int modeIndex) {
  CWordsView* view = m_views[static_cast<size_t>(modeIndex)].get();
  if (view->IsCreated()) return;
  view->SetFilterMenu(m_filterMenu.get());
  m_client->addWidget(view);
  view->Create();
  ApplyModeSettings(modeIndex);
  view->SetMainLog(m_platform.log);
}

CWordsView* CMainFrame::CurrentView() const {
  if (!m_client) return nullptr;
  QWidget* current = m_client->currentWidget();
  for (const auto& view : m_views) {
    if (view.get() == current) return view.get();
  }
  return nullptr;
}

int CMainFrame::CurrentModeIndex() const {
  CWordsView* current = CurrentView();
  for (size_t i = 0; i < m_views.size(); ++i) {
    if (m_views[i].get() == current) return static_cast<int>(i);
  }
  return -1;
}

QString CMainFrame::StatusText() const { return m_statusLabel ? m_statusLabel->text() : QString(); }

void CMainFrame::SwitchMode(int modeIndex) {
  CWordsView* previous = CurrentView();
  CWordsView* next = m_views[static_cast<size_t>(modeIndex)].get();
  CreateViewWindow(modeIndex);
  if (previous && previous != next) {
    previous->StopPlayback(0);
    m_client->setCurrentWidget(next);
    next->BuildFilterMenu();
    next->setFocus();
  } else if (!previous) {
    m_client->setCurrentWidget(next);
  }
  m_statusLabel->setText(ModeTable()[static_cast<size_t>(modeIndex)].statusText);
  RememberMode(modeIndex);
  OpenStartLesson(modeIndex);
}

void CMainFrame::OpenStartLesson(int modeIndex) {
  if (modeIndex < 0 || modeIndex >= static_cast<int>(m_modeShown.size())) return;
  const bool firstShowing = !std::exchange(m_modeShown[static_cast<size_t>(modeIndex)], true);
  if (m_startLesson.ArmFor(modeIndex)) {
    OnCommand(cmd::kOpen);
    m_startLesson.Disarm();
    return;
  }
  if (firstShowing) OpenRememberedLesson(modeIndex);
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (m_shownOnce) return;
  m_shownOnce = true;
  // Once the window is on the screen, so that the lesson's messages have it as their owner.
  QTimer::singleShot(0, this, [this] {
    OpenStartLesson(CurrentModeIndex());
    StartSync();
  });
}

void CMainFrame::ToggleToolBar() {
  s_bToolBarVisible = !s_bToolBarVisible;
  m_toolBar->setVisible(s_bToolBarVisible);
  m_actions.at(cmd::kToggleToolbar)->setChecked(s_bToolBarVisible);
  RememberFrameSettings();
}

void CMainFrame::ToggleStatusBar() {
  const bool show = statusBar()->isHidden();
  statusBar()->setVisible(show);
  m_actions.at(cmd::kToggleStatusBar)->setChecked(show);
  RememberFrameSettings();
}

const std::vector<CMainFrame::Command>& CMainFrame::Commands() {
  using Frame = CMainFrame;
  using View = CWordsView;
  static const std::vector<Command> table = {
      {cmd::kOpen, [](Frame& f, View* v) { f.OpenLesson(v); }},
      {cmd::kExit, [](Frame& f, View*) { f.close(); }},
      {cmd::kForgetProgress, [](Frame& f, View*) { f.ForgetProgress(); }},
      {cmd::kImportLesson, [](Frame& f, View* v) { f.ImportLesson(v); }},
      {cmd::kRepeatSound,
       [](Frame& f, View* v) {
         if (f.RequireView(v)) v->PlayCurrentSound();
       }},
      {cmd::kToggleSound, [](Frame& f, View* v) { f.ToggleSound(v); }},
      {cmd::kToggleHeader,
       [](Frame&, View* v) {
         if (v) v->ToggleHeader();
       }},
      {cmd::kToggleTranslations,
       [](Frame&, View* v) {
         if (v) v->ToggleTranslations();
       }},
      {cmd::kToggleToolbar, [](Frame& f, View*) { f.ToggleToolBar(); }},
      {cmd::kToggleStatusBar, [](Frame& f, View*) { f.ToggleStatusBar(); }},
      {cmd::kVideoSettings, [](Frame& f, View* v) { f.RunVideoSettingsOf(v); }},
      {cmd::kProgressSync, [](Frame& f, View* v) { f.ChooseSyncFolder(v); }},
      {cmd::kLessonStatistics, [](Frame& f, View* v) { f.ShowStatistics(v); }},
      {cmd::kHelp, [](Frame& f, View* v) { f.ShowHelp(v); }},
      {cmd::kAbout, [](Frame& f, View* v) { f.ShowAbout(v); }},
  };
  return table;
}

bool CMainFrame::RequireView(const CWordsView* view) {
  if (view) return true;
  m_platform.messages->ShowError(this, QStringLiteral("Вид не определен"));
  return false;
}

void CMainFrame::OpenLesson(CWordsView* view) {
  if (RequireView(view) && view->OpenLesson()) NoteLessonOpened(CurrentModeIndex());
}

void CMainFrame::ShowStatistics(CWordsView* view) {
  const int modeIndex = CurrentModeIndex();
  std::optional<progress::Direction> review;
  {
    const CWordsView::TickHold hold(view);
    // Answers still queued behind the last keys count too.
    if (m_memory) m_memory->Flush();
    review = ShowLessonStatistics(this, m_platform, view, modeIndex, LessonProgressOf(modeIndex));
  }
  if (review) ReviewHardest(ReviewModeOf(modeIndex, *review), view->m_szDataFile);
}

void CMainFrame::ReviewHardest(int modeIndex, const std::u16string& lesson) {
  if (modeIndex != CurrentModeIndex()) SwitchMode(modeIndex);
  CWordsView* view = View(modeIndex);
  // The mode of the other direction may hold another lesson, or none yet: it opens this one.
  if (view->m_szDataFile != lesson) {
    m_startLesson.ArmWith(ToQ(lesson));
    const bool opened = view->OpenLesson();
    m_startLesson.Disarm();
    if (!opened) return;
    NoteLessonOpened(modeIndex);
  }
  // The review lists are counted afresh with the Filters menu, then the hardest entries are
  // chosen as the menu item would choose them.
  view->BuildFilterMenu();
  OnCommand(kHardFilterCommand);
}

void CMainFrame::RunVideoSettingsOf(CWordsView* view) {
  // Only the Video modes have settings; elsewhere the key does nothing.
  auto* video = dynamic_cast<CVideo1View*>(view);
  if (!video) return;
  // The play-through waits while the dialog and its report are open.
  const CWordsView::TickHold hold(video);
  RunVideoSettings(*video, this, m_platform);
  RememberModeSettings(CurrentModeIndex());
}

void CMainFrame::ToggleSound(CWordsView* view) {
  if (view) view->ToggleSound();
  RememberModeSettings(CurrentModeIndex());
}

void CMainFrame::ShowHelp(CWordsView* view) {
  const CWordsView::TickHold hold(view);
  HelpDialog help(m_platform, this);
  ExecDialog(help);
}

void CMainFrame::ShowAbout(CWordsView* view) {
  const CWordsView::TickHold hold(view);
  QWidget* owner = QApplication::activeWindow();
  CAboutDialog about(m_platform, owner ? owner : this);
  ExecDialog(about);
}

void CMainFrame::OnCommand(int id) {
  CWordsView* view = CurrentView();
  if (const std::optional<StudyMode> mode = cmd::ModeOfCommand(id)) {
    SwitchMode(IndexOf(*mode));
    return;
  }
  if (id == kMissedFilterCommand || id == kDueFilterCommand || id == kHardFilterCommand) {
    if (view) view->SelectReviewFilter(id, FromQ(StatusText()));
    return;
  }
  if (id >= kFirstFilterCommand && id <= kLastFilterCommand) {
    if (view) view->SelectUserFilter(id, FromQ(StatusText()));
    return;
  }
  for (const Command& command : Commands()) {
    if (command.id == id) {
      command.run(*this, view);
      break;
    }
  }
  // A modal dialog that closed may leave no window active where no window manager restores it;
  // without an active frame the shortcuts would stop working.
  if (isVisible() && !isActiveWindow()) activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Closing the frame ends the program with exit code 1, as a normal close always has.
  RememberFrameSettings();
  for (auto& view : m_views) {
    if (view && view->IsCreated()) view->OnDestroy();
  }
  FinishSync();
  event->accept();
  QCoreApplication::exit(1);
}

}  // namespace verbaro
