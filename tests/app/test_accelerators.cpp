// The frame's accelerators: matched by physical key and exact modifiers, whatever character the
// keyboard layout gives, and only for keys of the frame's own window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QFile>
#include <QRegularExpression>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTimer>

#include "app/Accelerators.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/Run.h"
#include "platform/DialogPlacement.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "views/VirtualKeys.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr int F(int n) { return vk::kF1 + n - 1; }

// Which key gives which command is checked against the menu's shortcut texts
// (test_menu_table.cpp); here, the modifiers that make a key another key or none.
TEST(AcceleratorCommand, ModifiersMustMatchExactlyAndOnlyCtrlAltShiftCount) {
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    int command;
  } cases[] = {
      // Second keys beside the Alt+F keys that desktops take for themselves; F1 and F4 have none.
      {F(2), kShift, cmd::kToggleSound}, {F(3), kShift, cmd::kToggleTranslations},
      {F(5), kShift, 701},               {F(6), kShift, 703},
      {F(7), kShift, 705},               {F(1), kShift, 0},
      {F(4), kShift, 0},                 {F(5), kCtrl | kShift, 0},
      // One modifier more or less is another key.
      {'O', kNone, 0},                   {'O', kCtrl | kShift, 0},
      {'O', kCtrl | kAlt, 0},            {'A', kAlt, 0},
      {F(5), kCtrl, 0},
      {F(2), kAlt | kShift, 0},          {F(8), kAlt, 0},
      {'Q', kCtrl, 0},                   {F(4), kCtrl | kAlt, 0},
      // The Windows key and the keypad flag are no part of an accelerator.
      {'O', kCtrl | Qt::MetaModifier, cmd::kOpen},
      {F(6), Qt::KeypadModifier, 702},
      {F(4), kAlt | Qt::MetaModifier, cmd::kExit},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AcceleratorCommand(c.key, c.modifiers), c.command)
        << "key " << std::hex << c.key << " modifiers " << c.modifiers.toInt();
  }
}

// The manual is the learner's list of keys: every key of every command is in it, joined lines
// read as one text, so a key added to the table without a word in the Help fails here.
TEST(AcceleratorCommand, TheHelpNamesEveryKeyOfEveryCommand) {
  QFile file(QStringLiteral(":/TEXT/help"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString help = QString::fromUtf8(file.readAll()).simplified();
  for (int command : {cmd::kAbout, cmd::kOpen, cmd::kHelp, cmd::kRepeatSound, cmd::kToggleSound,
                      cmd::kToggleHeader, cmd::kToggleTranslations, cmd::kVideoSettings,
                      cmd::kExit, 700, 701, 702, 703, 704, 705}) {
    const QStringList names = AcceleratorNames(command);
    EXPECT_FALSE(names.isEmpty()) << command;
    for (const QString& name : names) {
      const QRegularExpression whole(QStringLiteral("(^|[^+\\w])") +
                                     QRegularExpression::escape(name) +
                                     QStringLiteral("($|[^\\w])"));
      EXPECT_TRUE(help.contains(whole)) << command << " " << name.toStdString();
    }
  }
  // The Help says why the second keys are there.
  EXPECT_TRUE(help.contains(QStringLiteral("заняты самой средой")));
}

class FrameKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    frame = std::make_unique<CMainFrame>(fake.Get());
    ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 1000, 700)));
  }
  // A key press as the desktop delivers it to the view that has the focus: the key the layout
  // produced, and the X11/Wayland keycode of the physical key (0 where the platform has none).
  static bool Press(QWidget* target, int qtKey, Qt::KeyboardModifiers modifiers,
                    quint32 x11Keycode) {
    QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, x11Keycode, 0, 0);
    QApplication::sendEvent(target, &event);
    return event.isAccepted();
  }
  void Press(int qtKey, Qt::KeyboardModifiers modifiers, quint32 x11Keycode) {
    Press(frame->CurrentView(), qtKey, modifiers, x11Keycode);
  }
  FakePlatform fake;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(FrameKeys, CtrlOOpensByPhysicalKeyWhateverTheLayoutProduces) {
  Press(0x0429, kCtrl, 32);  // Russian-only layout: the key O gives Щ
  EXPECT_EQ(fake.files.requests, 1);
  Press(Qt::Key_O, kCtrl, 0);  // no keycode (offscreen): the key read as a US keyboard's
  EXPECT_EQ(fake.files.requests, 2);
  // Dvorak: the key O gives "r", and the key S gives "o". Only the physical O opens.
  Press(Qt::Key_O, kCtrl, 39);
  EXPECT_EQ(fake.files.requests, 2);
  Press(Qt::Key_R, kCtrl, 32);
  EXPECT_EQ(fake.files.requests, 3);
  // Accelerators never reach the view as typing.
  EXPECT_EQ(frame->CurrentView()->m_wsTypedText, u"");
}

TEST_F(FrameKeys, FunctionKeysSwitchModesUnderAnyLayout) {
  Press(Qt::Key_F6, kNone, 72);
  EXPECT_EQ(frame->CurrentModeIndex(), 2);
  Press(Qt::Key_F5, kAlt, 71);
  EXPECT_EQ(frame->CurrentModeIndex(), 1);
  Press(Qt::Key_F7, kCtrl, 73);  // Ctrl+F7 is no accelerator
  EXPECT_EQ(frame->CurrentModeIndex(), 1);
  Press(Qt::Key_F7, kNone, 73);
  EXPECT_EQ(frame->CurrentModeIndex(), 4);
  // The second keys, as a desktop that takes Alt+F5 to Alt+F7 leaves them: a layout where
  // Shift+F7 gives another key (F19 on some keymaps) still switches by the physical key.
  Press(Qt::Key_F7, kShift, 73);
  EXPECT_EQ(frame->CurrentModeIndex(), 5);
  Press(Qt::Key_F19, kShift, 73);
  EXPECT_EQ(frame->CurrentModeIndex(), 5);
  Press(Qt::Key_F6, kShift, 72);
  EXPECT_EQ(frame->CurrentModeIndex(), 3);
  Press(Qt::Key_F5, kShift, 71);
  EXPECT_EQ(frame->CurrentModeIndex(), 1);
}

TEST_F(FrameKeys, KeysOfOtherWindowsAreNoAccelerators) {
  QWidget other;
  Press(&other, Qt::Key_O, kCtrl, 32);
  Press(&other, Qt::Key_F6, kNone, 72);
  EXPECT_EQ(fake.files.requests, 0);
  EXPECT_EQ(frame->CurrentModeIndex(), 0);
  // The frame's own widgets, the menu bar included, take them.
  Press(frame->menuBar(), Qt::Key_F6, kNone, 72);
  EXPECT_EQ(frame->CurrentModeIndex(), 2);
}

TEST_F(FrameKeys, KeysTypedIntoADialogTheWindowHoldsInsideAreTheDialogs) {
  // On GNOME under Wayland a dialog is drawn inside the frame: its keys are not the frame's,
  // neither those its field takes nor those it leaves, which travel on to the frame.
  qputenv("VERBARO_DIALOGS", "window");
  frame->show();
  QDialog dialog(frame.get());
  auto* field = new QLineEdit(&dialog);
  bool pressed = false;
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(field->window(), frame.get());
    Press(field, Qt::Key_O, kCtrl, 32);
    Press(field, Qt::Key_F6, kNone, 72);
    Press(&dialog, Qt::Key_F7, kAlt, 73);
    pressed = true;
    dialog.accept();
  });
  ExecDialog(dialog);
  qunsetenv("VERBARO_DIALOGS");
  EXPECT_TRUE(pressed);
  EXPECT_EQ(fake.files.requests, 0);
  EXPECT_EQ(frame->CurrentModeIndex(), 0);
  // Once it has gone, the same keys act again.
  Press(Qt::Key_F6, kNone, 72);
  EXPECT_EQ(frame->CurrentModeIndex(), 2);
}

TEST(FrameKeysRun, AltF4EndsTheProgramWithOne) {
  test::EnsureApplication();
  FakePlatform fake;
  QTimer::singleShot(50, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* frame = qobject_cast<CMainFrame*>(w); frame && frame->isVisible()) {
        QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier, 70, 0, 0);
        QApplication::sendEvent(frame->CurrentView(), &altF4);
      }
    }
  });
  EXPECT_EQ(verbaro::Run(*qApp, fake.Get(),
                         [](const Platform& p) { return std::make_unique<CMainFrame>(p); }),
            1);
}

}  // namespace
}  // namespace verbaro
