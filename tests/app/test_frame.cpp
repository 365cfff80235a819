#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/Accelerators.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/ModeTable.h"
#include "app/Run.h"
#include "image/FCObjImage.h"
#include "platform/QtText.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "views/VirtualKeys.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    frame = std::make_unique<CMainFrame>(fake.Get());
    ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 1000, 700)));
  }
  FakePlatform fake;
  std::unique_ptr<CMainFrame> frame;
};

// On a 1366 x 768 screen with a panel, every built-in logo ends above the first framed row of
// the grid (the word's row), drawn at (10, 10) in its own size.
TEST(BuiltInLogos, FitAboveTheGridOnASmallScreen) {
  test::EnsureApplication();
  FakePlatform fake;
  for (const int panel : {0, 28, 48}) {
    const QRect workArea(0, 0, 1366, 768 - panel);
    fake.workArea.rect = workArea;
    CMainFrame frame(fake.Get());
    ASSERT_TRUE(frame.CreateFrame(InitialFrameRect(workArea)));
    frame.show();
    ASSERT_TRUE(test::WaitFor([&frame] { return frame.View(0)->height() > 0; }, 2000));
    const int rowHeight = frame.View(0)->height() / 12;
    for (int id = 601; id <= 611; id += 2) {
      FCObjImage logo;
      ASSERT_TRUE(logo.LoadResource(id, QStringLiteral("PNG"), ImageType::Png));
      EXPECT_LE(10 + logo.Height(), rowHeight) << "logo " << id << ", panel " << panel;
      EXPECT_LT(10 + logo.Width(), frame.View(0)->width() / 2) << "logo " << id;
      // The version for a scale of 2 is the same picture with twice the pixels.
      QFile twice(QStringLiteral(":/PNG/%1@2x").arg(id));
      ASSERT_TRUE(twice.open(QIODevice::ReadOnly)) << id;
      const QByteArray bytes = twice.readAll();
      FCObjImage large;
      ASSERT_TRUE(large.Load(reinterpret_cast<const uint8_t*>(bytes.constData()),
                             static_cast<size_t>(bytes.size()), ImageType::Png));
      EXPECT_EQ(large.Width(), 2 * logo.Width());
      EXPECT_EQ(large.Height(), 2 * logo.Height());
    }
  }
}

TEST(InitialFrameRect, IsCentredOnTheWorkAreaSizeWhateverItsOrigin) {
  EXPECT_EQ(InitialFrameRect(QRect(0, 0, 1920, 1040)), QRect(QPoint(336, 52), QPoint(1583, 987)));
  EXPECT_EQ(InitialFrameRect(QRect(64, 30, 1920, 1040)), InitialFrameRect(QRect(0, 0, 1920, 1040)));
}

TEST_F(FrameTest, StartsInConspectOneWithOneFilterItemAndNoLesson) {
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("Обучающая программа: «Verbaro, v. 1.00»"));
  EXPECT_EQ(frame->CurrentModeIndex(), 0);
  EXPECT_EQ(frame->StatusText(), ModeTable()[0].statusText);
  ASSERT_EQ(frame->FiltersMenu()->actions().size(), 1);
  EXPECT_EQ(frame->FiltersMenu()->actions()[0]->data().toInt(), 800);
  EXPECT_TRUE(frame->View(0)->m_vWordsData.empty());
  // Only the Conspect-1 view has its window; the others come on first use.
  EXPECT_TRUE(frame->View(0)->IsCreated());
  for (int i = 1; i < 6; ++i) EXPECT_FALSE(frame->View(i)->IsCreated()) << i;
}

TEST_F(FrameTest, ModulesListTheOneModesFirstAndTheToolBarHasItsButtonsInOrder) {
  const QList<QAction*> menus = frame->menuBar()->actions();
  // The Modules menu lists the "-1" modes first; the toolbar has the eleven buttons in id order,
  // the statistics after the six modes.
  QMenu* modules = menus[3]->menu();
  QList<int> ids;
  for (QAction* item : modules->actions()) ids << (item->isSeparator() ? 0 : item->data().toInt());
  EXPECT_EQ(ids, (QList<int>{700, 702, 704, 0, 701, 703, 705}));
  QList<int> buttons;
  for (QAction* button : frame->ToolBar()->actions()) buttons << button->data().toInt();
  EXPECT_EQ(buttons,
            (QList<int>{57601, 57665, 300, 700, 701, 702, 703, 704, 705, 2100, 128, 57664}));
}

TEST_F(FrameTest, ToolbarTooltipsOfTheReversedModesNameBothKeysAndTheMenuKeepsItsText) {
  const struct {
    int id;
    QString toolTip;
  } buttons[] = {
      {701, QStringLiteral("Конспект-2 (Alt+F5, Shift+F5)")},
      {703, QStringLiteral("Видео-2 (Alt+F6, Shift+F6)")},
      {705, QStringLiteral("Экзамен-2 (Alt+F7, Shift+F7)")},
      // Buttons of commands with one key keep their tooltips as they were.
      {700, QStringLiteral("Конспект-1")},
      {cmd::kRepeatSound, QStringLiteral("Повтор звука")},
      {cmd::kOpen, QStringLiteral("Открыть файл")},
  };
  for (const auto& button : buttons) {
    EXPECT_EQ(frame->Action(button.id)->toolTip(), button.toolTip) << button.id;
  }
  EXPECT_EQ(frame->Action(705)->text(), QStringLiteral("&5-Режим \"Экзамен-2\"\tAlt+F7"));
  EXPECT_EQ(frame->Action(cmd::kToggleSound)->text(),
            QStringLiteral("&1-Включить/выключить звук\tAlt+F2"));
  EXPECT_EQ(AcceleratorNames(cmd::kToggleSound),
            (QStringList{QStringLiteral("Alt+F2"), QStringLiteral("Shift+F2")}));
  EXPECT_EQ(AcceleratorNames(cmd::kOpen), QStringList{QStringLiteral("Ctrl+O")});
}

TEST_F(FrameTest, ModeSwitchCreatesTheViewOnceAndChoosingTheSameModeOnlySetsTheStatus) {
  frame->OnCommand(704);
  EXPECT_EQ(frame->CurrentModeIndex(), 4);
  EXPECT_TRUE(frame->View(4)->IsCreated());
  EXPECT_EQ(frame->StatusText(), ModeTable()[4].statusText);
  // The hidden view was stopped and will not sound on its next repaint.
  EXPECT_EQ(frame->View(0)->m_bPlayOnPaint, 0);

  frame->View(4)->m_bPlayOnPaint = 1;
  frame->OnCommand(704);
  EXPECT_EQ(frame->CurrentModeIndex(), 4);
  EXPECT_EQ(frame->View(4)->m_bPlayOnPaint, 1);
}

TEST_F(FrameTest, FourInConspectOrExamModesShowsNothing) {
  for (int mode : {700, 701, 704, 705}) {
    frame->OnCommand(mode);
    fake.messages.Clear();
    frame->OnCommand(cmd::kVideoSettings);  // a modal dialog here would block the test
    EXPECT_TRUE(fake.messages.shown.empty()) << mode;
  }
}

TEST_F(FrameTest, ToolBarAndStatusBarSwitchesFollowTheirCheckMarks) {
  frame->show();
  frame->OnCommand(cmd::kToggleToolbar);
  EXPECT_FALSE(frame->ToolBar()->isVisible());
  EXPECT_FALSE(frame->Action(cmd::kToggleToolbar)->isChecked());
  EXPECT_TRUE(frame->menuBar()->isVisible());
  frame->OnCommand(cmd::kToggleToolbar);
  EXPECT_TRUE(frame->ToolBar()->isVisible());

  frame->OnCommand(cmd::kToggleStatusBar);
  EXPECT_FALSE(frame->statusBar()->isVisible());
  EXPECT_FALSE(frame->Action(cmd::kToggleStatusBar)->isChecked());
  frame->OnCommand(cmd::kToggleStatusBar);
  EXPECT_TRUE(frame->statusBar()->isVisible());
}

TEST_F(FrameTest, ALessonOpenedInOneModeIsNotSeenByAnother) {
  fake.files.answers.push_back(QStringLiteral(VERBARO_SOURCE_DIR "/lessons/03-accents.db"));
  frame->OnCommand(cmd::kOpen);
  EXPECT_FALSE(frame->View(0)->m_vWordsData.empty());
  frame->OnCommand(702);
  EXPECT_TRUE(frame->View(2)->m_vWordsData.empty());
  // The Filters menu now shows the Video-1 view's (empty) filters.
  EXPECT_EQ(frame->FiltersMenu()->actions().size(), 1);
}

struct FilterItem {
  int id;
  QString text;
  QString prompt;
  bool operator==(const FilterItem&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FilterItem& item) {
  return out << item.id << " " << item.text.toStdString() << " [" << item.prompt.toStdString()
             << "]";
}

std::vector<FilterItem> FilterItems(const CMainFrame& frame) {
  std::vector<FilterItem> items;
  for (QAction* action : frame.FiltersMenu()->actions())
    items.push_back({action->data().toInt(), action->text(), action->statusTip()});
  return items;
}

const QString kAllPrompt = QStringLiteral("Все слова и фразы, по умолчанию");

TEST_F(FrameTest, TheFiltersMenuShowsTheCurrentViewsFiltersAndItem800KeepsItsPrompt) {
  QMenu* filters = frame->FiltersMenu();
  ASSERT_EQ(frame->menuBar()->actions().at(4)->menu(), filters);
  EXPECT_EQ(FilterItems(*frame),
            (std::vector<FilterItem>{{800, QStringLiteral("&0-Все слова и фразы"), kAllPrompt}}));

  fake.files.answers.push_back(QStringLiteral(VERBARO_SOURCE_DIR "/lessons/03-accents.db"));
  frame->OnCommand(cmd::kOpen);
  const std::vector<FilterItem> loaded = FilterItems(*frame);
  ASSERT_GT(loaded.size(), 2u);
  EXPECT_EQ(frame->menuBar()->actions().at(4)->menu(), filters) << "the same submenu, refilled";
  const auto& lesson = frame->View(0)->FilterMenuItems();
  ASSERT_EQ(loaded.size(), lesson.size());
  for (size_t i = 0; i < loaded.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(loaded[i].id, 800 + static_cast<int>(i));
    EXPECT_EQ(loaded[i].text, ToQ(lesson[i].second));
    // Only item 800 has a prompt of its own, whatever filled the menu.
    EXPECT_EQ(loaded[i].prompt, i == 0 ? kAllPrompt : QString());
  }

  // Choosing an item selects that filter in the current view.
  frame->FiltersMenu()->actions().at(2)->trigger();
  EXPECT_EQ(frame->View(0)->m_nSelectedFilter, 2);
  EXPECT_TRUE(fake.messages.Texts().back().startsWith(QStringLiteral("Выбран фильтр: \"")));

  // A mode switch shows the other view's filters, and back again; item 800 keeps its prompt.
  frame->OnCommand(704);
  EXPECT_EQ(FilterItems(*frame),
            (std::vector<FilterItem>{{800, QStringLiteral("&0 - Все слова и фразы"), kAllPrompt}}));
  frame->OnCommand(700);
  EXPECT_EQ(FilterItems(*frame), loaded);
}

TEST_F(FrameTest, BackFromAnotherModeTheFirstMoveAndF2Sound) {
  fake.files.answers.push_back(QStringLiteral(VERBARO_SOURCE_DIR "/lessons/03-accents.db"));
  frame->OnCommand(cmd::kOpen);
  const auto writes = [this] {
    size_t total = 0;
    for (const FakeWaveOut* out : fake.waveOuts) total += out->writes.size();
    return total;
  };
  const size_t opened = writes();
  ASSERT_GT(opened, 0u);

  frame->OnCommand(702);  // F6
  frame->OnCommand(700);  // F5
  frame->View(0)->OnKeyDown(vk::kTab);
  EXPECT_EQ(frame->View(0)->m_nUserFilterIndex, 1);
  EXPECT_EQ(writes(), opened + 1);

  frame->OnCommand(704);  // F7
  frame->OnCommand(700);  // F5
  frame->OnCommand(cmd::kRepeatSound);
  EXPECT_EQ(writes(), opened + 2);
}

TEST(RunTest, NormalCloseEndsWithOneAndAFrameThatCannotBeMadeWithZero) {
  test::EnsureApplication();
  FakePlatform fake;
  QTimer::singleShot(50, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* frame = qobject_cast<CMainFrame*>(w)) frame->OnCommand(cmd::kExit);
    }
  });
  EXPECT_EQ(verbaro::Run(*qApp, fake.Get(),
                         [](const Platform& p) { return std::make_unique<CMainFrame>(p); }),
            1);

  EXPECT_EQ(verbaro::Run(*qApp, fake.Get(),
                         [](const Platform&) { return std::unique_ptr<CMainFrame>(); }),
            0);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Проблема создания главного окна!"));
  EXPECT_EQ(fake.messages.shown[0].caption, QStringLiteral("Ошибка"));
  EXPECT_EQ(fake.messages.shown[0].kind, MessageKind::Error);
}

}  // namespace
}  // namespace verbaro
