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
#include "app/LearnerMemory.h"
#include "app/ModeTable.h"
#include "app/QtFilterMenu.h"
#include "app/SettingsDialog.h"
#include "data/DiagnosticLog.h"
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

  m_pClient = new QStackedWidget(this);
  setCentralWidget(m_pClient);
  BuildMenu();
  BuildToolBar();
  BuildStatusBar();
  // The accelerators act by physical key, before the key reaches the view; the menu items only
  // show them.
  qApp->installEventFilter(new CAcceleratorFilter(this, [this](int id) { OnCommand(id); }));

  CreateViewWindow(0);
  m_pClient->setCurrentWidget(m_views[0].get());

  move(frameRect.topLeft());
  resize(frameRect.size());
  ApplyFrameSettings();
  return true;
}

QAction* CMainFrame::MakeAction(int id, const QString& text, const QString& prompt,
                                const QString& toolTip) {
  auto* action = new QAction(text, this);
  action->setData(id);
  action->setStatusTip(prompt);
  action->setToolTip(toolTip.isEmpty() ? prompt : toolTip);
  connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  m_actions[id] = action;
  return action;
}

QAction* CMainFrame::Action(int id) const {
  auto it = m_actions.find(id);
  return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::BuildMenu() {
  QMenuBar* bar = menuBar();

  QMenu* file = bar->addMenu(QStringLiteral("&0-Файл"));
  file->addAction(MakeAction(cmd::kOpen, QStringLiteral("&0-Открыть...\tCtrl+O"),
                             QStringLiteral("Открыть файл данных"),
                             QStringLiteral("Открыть файл")));
  file->addSeparator();
  file->addAction(MakeAction(cmd::kExit, QStringLiteral("&9-Выход\tAlt+F4"),
                             QStringLiteral("Выход из программы"), QStringLiteral("Выход")));

  QMenu* actions = bar->addMenu(QStringLiteral("&1-Действия"));
  actions->addAction(MakeAction(cmd::kRepeatSound, QStringLiteral("&0-Повторить звук\tF2"),
                                QStringLiteral("Повтор звука"), QStringLiteral("Повтор звука")));
  actions->addAction(MakeAction(cmd::kToggleSound,
                                QStringLiteral("&1-Включить/выключить звук\tAlt+F2"),
                                QStringLiteral("Включить/выключить звук"), {}));
  actions->addAction(MakeAction(cmd::kToggleHeader,
                                QStringLiteral("&2-Показать/скрыть заголовок\tF3"),
                                QStringLiteral("Показать/скрыть заголовок словарной статьи"), {}));
  actions->addAction(MakeAction(cmd::kToggleTranslations,
                                QStringLiteral("&3-Показать/скрыть переводы\tAlt+F3"),
                                QStringLiteral("Показать/скрыть переводы словарной статьи"), {}));

  QMenu* view = bar->addMenu(QStringLiteral("&2-Вид"));
  QAction* toolbarItem =
      MakeAction(cmd::kToggleToolbar, QStringLiteral("&0-Тулбар"),
                 QStringLiteral("Показать либо скрыть тулбар"),
                 QStringLiteral("Переключатель ToolBar"));
  toolbarItem->setCheckable(true);
  toolbarItem->setChecked(s_bToolBarVisible);
  view->addAction(toolbarItem);
  QAction* statusItem =
      MakeAction(cmd::kToggleStatusBar, QStringLiteral("&1-Статусбар"),
                 QStringLiteral("Показать либо скрыть статусбар"),
                 QStringLiteral("Переключатель StatusBar"));
  statusItem->setCheckable(true);
  statusItem->setChecked(true);
  view->addAction(statusItem);

  QMenu* modules = bar->addMenu(QStringLiteral("&3-Модули"));
  const auto& modes = ModeTable();
  for (int index : {0, 2, 4, -1, 1, 3, 5}) {
    if (index < 0) {
      modules->addSeparator();
      continue;
    }
    const ModeInfo& mode = modes[static_cast<size_t>(index)];
    modules->addAction(
        MakeAction(mode.command, mode.menuText, mode.statusText, mode.toolTip));
  }

  // The frame owns the Filters submenu; the current view fills it with its filters, each item
  // carrying its command id. Until a lesson is loaded it holds the one item of all words.
  m_pFiltersMenu = bar->addMenu(QStringLiteral("&4-Фильтры"));
  m_pFilterMenu = std::make_unique<QtFilterMenu>(m_pFiltersMenu);
  m_pFilterMenu->Fill({{kFirstFilterCommand, u"&0-Все слова и фразы"}});
  connect(m_pFiltersMenu, &QMenu::triggered, this, [this](QAction* item) {
    bool ok = false;
    const int id = item->data().toInt(&ok);
    if (ok) OnCommand(id);
  });

  QMenu* settings = bar->addMenu(QStringLiteral("&5-Настройки"));
  settings->addAction(MakeAction(
      cmd::kVideoSettings, QStringLiteral("&0-Настройка режима: \"Видео\"\tF4"),
      QStringLiteral("Настройка параметров для режима \"Видео-1\" и \"Видео-2\""),
      QStringLiteral("Параметры видео")));

  QMenu* help = bar->addMenu(QStringLiteral("&9-Помощь"));
  help->addAction(MakeAction(cmd::kHelp, QStringLiteral("&0-Помощь\tF1"),
                             QStringLiteral("Диалог \"Помощь\""), {}));
  help->addAction(MakeAction(cmd::kAbout, QStringLiteral("&1-О программе\tCtrl+A"),
                             QStringLiteral("Информация \"О программе\""),
                             QStringLiteral("Диалог \"О программе\"")));
}

void CMainFrame::BuildToolBar() {
  m_pToolBar = addToolBar(QStringLiteral("Тулбар"));
  m_pToolBar->setObjectName(QStringLiteral("MainToolBar"));
  m_pToolBar->setIconSize(QSize(16, 16));
  m_pToolBar->setMovable(false);
  m_pToolBar->setFloatable(false);
  m_pToolBar->toggleViewAction()->setVisible(false);
  for (int id : {cmd::kOpen, cmd::kExit, cmd::kRepeatSound, 700, 701, 702, 703, 704, 705,
                 cmd::kHelp, cmd::kAbout}) {
    QAction* action = m_actions.at(id);
    action->setIcon(QIcon(QStringLiteral(":/TOOLBAR/%1").arg(id)));
    m_pToolBar->addAction(action);
  }
  m_pToolBar->setVisible(s_bToolBarVisible);
}

void CMainFrame::BuildStatusBar() {
  m_pStatusLabel = new QLabel(this);
  statusBar()->addWidget(m_pStatusLabel, 1);
  statusBar()->setSizeGripEnabled(true);
  m_pStatusLabel->setText(ModeTable()[0].statusText);
}

void CMainFrame::CreateViewWindow(int modeIndex) {
  CWordsView* view = m_views[static_cast<size_t>(modeIndex)].get();
  if (view->IsCreated()) return;
  view->SetFilterMenu(m_pFilterMenu.get());
  m_pClient->addWidget(view);
  view->Create();
  ApplyModeSettings(modeIndex);
  view->SetMainLog(m_platform.log);
}

CWordsView* CMainFrame::CurrentView() const {
  if (!m_pClient) return nullptr;
  QWidget* current = m_pClient->currentWidget();
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

QString CMainFrame::StatusText() const { return m_pStatusLabel ? m_pStatusLabel->text() : QString(); }

void CMainFrame::SwitchMode(int modeIndex) {
  CWordsView* previous = CurrentView();
  CWordsView* next = m_views[static_cast<size_t>(modeIndex)].get();
  CreateViewWindow(modeIndex);
  if (previous && previous != next) {
    previous->StopPlayback(0);
    m_pClient->setCurrentWidget(next);
    next->BuildFilterMenu();
    next->setFocus();
  } else if (!previous) {
    m_pClient->setCurrentWidget(next);
  }
  m_pStatusLabel->setText(ModeTable()[static_cast<size_t>(modeIndex)].statusText);
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
  if (m_bShownOnce) return;
  m_bShownOnce = true;
  // Once the window is on the screen, so that the lesson's messages have it as their owner.
  QTimer::singleShot(0, this, [this] { OpenStartLesson(CurrentModeIndex()); });
}

void CMainFrame::ToggleToolBar() {
  s_bToolBarVisible = !s_bToolBarVisible;
  m_pToolBar->setVisible(s_bToolBarVisible);
  m_actions.at(cmd::kToggleToolbar)->setChecked(s_bToolBarVisible);
  RememberFrameSettings();
}

void CMainFrame::ToggleStatusBar() {
  const bool show = statusBar()->isHidden();
  statusBar()->setVisible(show);
  m_actions.at(cmd::kToggleStatusBar)->setChecked(show);
  RememberFrameSettings();
}

void CMainFrame::OnCommand(int id) {
  CWordsView* view = CurrentView();
  auto requireView = [&]() {
    if (view) return true;
    m_platform.messages->Show(this, QStringLiteral("Ошибка"), QStringLiteral("Вид не определен"));
    return false;
  };

  if (id >= cmd::kFirstMode && id <= cmd::kLastMode) {
    SwitchMode(id - cmd::kFirstMode);
    return;
  }
  if (id >= kFirstFilterCommand && id <= kLastFilterCommand) {
    if (view) {
      const std::u16string modeText = FromQ(StatusText());
      view->SelectUserFilter(id, modeText);
    }
    return;
  }
  switch (id) {
    case cmd::kOpen:
      if (requireView() && view->OpenLesson()) NoteLessonOpened(CurrentModeIndex());
      break;
    case cmd::kExit:
      close();
      break;
    case cmd::kRepeatSound:
      if (requireView()) view->PlayCurrentSound();
      break;
    case cmd::kToggleSound:
      if (view) view->ToggleSound();
      RememberModeSettings(CurrentModeIndex());
      break;
    case cmd::kToggleHeader:
      if (view) view->ToggleHeader();
      break;
    case cmd::kToggleTranslations:
      if (view) view->ToggleTranslations();
      break;
    case cmd::kToggleToolbar:
      ToggleToolBar();
      break;
    case cmd::kToggleStatusBar:
      ToggleStatusBar();
      break;
    case cmd::kVideoSettings:
      if (auto* video = dynamic_cast<CVideo1View*>(view)) {
        // The play-through waits while the dialog and its report are open.
        const CWordsView::TickHold hold(video);
        RunVideoSettings(*video, this, m_platform);
        RememberModeSettings(CurrentModeIndex());
      }
      break;
    case cmd::kHelp: {
      const CWordsView::TickHold hold(view);
      CHelpDialog help(m_platform, this);
      help.exec();
      break;
    }
    case cmd::kAbout: {
      const CWordsView::TickHold hold(view);
      QWidget* owner = QApplication::activeWindow();
      CAboutDialog about(m_platform, owner ? owner : this);
      about.exec();
      break;
    }
    default:
      break;
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
  event->accept();
  QCoreApplication::exit(1);
}

}  // namespace verbaro
