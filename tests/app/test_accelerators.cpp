// The frame's accelerators: matched with exact modifiers, Ctrl and Alt letters by the letter the
// key gives in the active layout (by the key's place on non-Latin layouts), function keys by
// physical key, and only for keys of the frame's own window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTimer>
#include <vector>

#include <xkbcommon/xkbcommon.h>

#include "app/Accelerators.h"
#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/Run.h"
#include "platform/DialogPlacement.h"
#include "platform/XkbLetters.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "tests/support/TestKeyboard.h"
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
      {F(2), kShift, cmd::kToggleSound},
      {F(3), kShift, cmd::kToggleTranslations},
      {F(5), kShift, 701},
      {F(6), kShift, 703},
      {F(7), kShift, 705},
      {F(1), kShift, 0},
      {F(4), kShift, 0},
      {F(5), kCtrl | kShift, 0},
      // One modifier more or less is another key.
      {'O', kNone, 0},
      {'O', kCtrl | kShift, 0},
      {'O', kCtrl | kAlt, 0},
      {'A', kAlt, 0},
      {F(5), kCtrl, 0},
      {F(2), kAlt | kShift, 0},
      {F(8), kAlt, 0},
      {'Q', kCtrl, 0},
      {F(4), kCtrl | kAlt, 0},
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
                      cmd::kToggleHeader, cmd::kToggleTranslations, cmd::kVideoSettings, cmd::kExit,
                      700, 701, 702, 703, 704, 705}) {
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

// Linux evdev codes of keys, named by their US caps.
constexpr uint32_t kKeyQ = 16, kKeyO = 24, kKeyA = 30, kKeyS = 31;

// A press of a physical key as the X server or the Wayland compositor delivers it under this
// keyboard: the X11/Wayland keycode, the keysym of the active layout, the native modifier state,
// and the Qt key and text of that keysym.
QKeyEvent LayoutKeyEvent(const test::TestKeyboard& keyboard, uint32_t evdev,
                         Qt::KeyboardModifiers modifiers) {
  const bool shift = modifiers & Qt::ShiftModifier;
  const uint32_t keysym = keyboard.Keysym(evdev, shift);
  const char32_t character = xkb_keysym_to_utf32(keysym);
  const QString text = QString::fromUcs4(&character, 1);
  return QKeyEvent(QEvent::KeyPress, static_cast<int>(QChar::toUpper(character)), modifiers,
                   evdev + test::TestKeyboard::kX11Offset, keysym,
                   keyboard.NativeModifiers(modifiers & Qt::ControlModifier, shift), text);
}

LatinLayoutLetter LookupIn(const test::TestKeyboard& keyboard) {
  return [&keyboard](uint32_t keycode) {
    return xkb::FirstLatinLayoutLetter(keyboard.Keymap(), keycode);
  };
}

TEST(AcceleratorFilter, CtrlAAndCtrlOFollowTheLetterOnTheKeyOnEveryLayout) {
  test::EnsureApplication();
  const struct {
    const char* layouts;
    int active;
    uint32_t evdev;
    int command;
  } cases[] = {
      {"us", 0, kKeyA, cmd::kAbout},
      {"us", 0, kKeyO, cmd::kOpen},
      {"us", 0, kKeyQ, 0},
      {"us", 0, kKeyS, 0},
      // AZERTY: "a" is on the US Q key, "q" on the US A key, "o" where it is on US.
      {"fr", 0, kKeyQ, cmd::kAbout},
      {"fr", 0, kKeyA, 0},
      {"fr", 0, kKeyO, cmd::kOpen},
      // Dvorak: "o" is on the US S key, "r" on the US O key, "a" where it is on US.
      {"us(dvorak)", 0, kKeyS, cmd::kOpen},
      {"us(dvorak)", 0, kKeyO, 0},
      {"us(dvorak)", 0, kKeyA, cmd::kAbout},
      {"us(dvorak)", 0, kKeyQ, 0},
      // Russian only: no Latin letter anywhere, so the US places decide.
      {"ru", 0, kKeyA, cmd::kAbout},
      {"ru", 0, kKeyO, cmd::kOpen},
      {"ru", 0, kKeyS, 0},
      // US and Russian, either active.
      {"us,ru", 1, kKeyA, cmd::kAbout},
      {"us,ru", 1, kKeyO, cmd::kOpen},
      {"us,ru", 1, kKeyS, 0},
      {"us,ru", 0, kKeyO, cmd::kOpen},
      // A non-Latin layout active: the letter the key gives in the keymap's first Latin layout.
      {"ru,fr", 0, kKeyQ, cmd::kAbout},
      {"ru,fr", 0, kKeyA, 0},
      {"fr,ru", 1, kKeyQ, cmd::kAbout},
      {"ru,us(dvorak)", 0, kKeyS, cmd::kOpen},
      {"ru,us(dvorak)", 0, kKeyO, 0},
  };
  for (const auto& c : cases) {
    test::TestKeyboard keyboard(c.layouts, c.active);
    QWidget window;
    QWidget view(&window);
    std::vector<int> commands;
    qApp->installEventFilter(new AcceleratorFilter(
        &window, [&](int id) { commands.push_back(id); }, LookupIn(keyboard)));
    QKeyEvent ctrl = LayoutKeyEvent(keyboard, c.evdev, kCtrl);
    QApplication::sendEvent(&view, &ctrl);
    // Ctrl+Shift is no accelerator, whatever the key gives.
    QKeyEvent ctrlShift = LayoutKeyEvent(keyboard, c.evdev, kCtrl | kShift);
    QApplication::sendEvent(&view, &ctrlShift);
    const std::vector<int> expected =
        c.command != 0 ? std::vector<int>{c.command} : std::vector<int>{};
    EXPECT_EQ(commands, expected) << c.layouts << " layout " << c.active << " key " << c.evdev;
    EXPECT_EQ(ctrl.isAccepted(), c.command != 0) << c.layouts << " key " << c.evdev;
  }
}

TEST(AcceleratorFilter, ALetterFromAToolsOwnKeymapOnASpareKeycode) {
  test::EnsureApplication();
  QWidget window;
  std::vector<int> commands;
  qApp->installEventFilter(
      new AcceleratorFilter(&window, [&](int id) { commands.push_back(id); }, {}));
  // Input automation puts "o" on a keycode no keyboard has and presses it with Ctrl.
  QKeyEvent press(QEvent::KeyPress, Qt::Key_O, kCtrl, 255, XKB_KEY_o, 0x4, QStringLiteral("o"));
  QApplication::sendEvent(&window, &press);
  EXPECT_EQ(commands, std::vector<int>{cmd::kOpen});
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

TEST_F(FrameKeys, CtrlOOpensByTheLetterOnTheKeyAndByPlaceOnARussianLayout) {
  Press(0x0429, kCtrl, 32);  // Russian-only layout, no keysym: the key O gives Щ
  EXPECT_EQ(fake.files.requests, 1);
  Press(Qt::Key_O, kCtrl, 0);  // no keycode (offscreen): the key read as a US keyboard's
  EXPECT_EQ(fake.files.requests, 2);
  // Dvorak: the key O gives "r", and the key S gives "o". Only the key that gives "o" opens.
  test::TestKeyboard dvorak("us(dvorak)");
  QKeyEvent keyO = LayoutKeyEvent(dvorak, kKeyO, kCtrl);
  QApplication::sendEvent(frame->CurrentView(), &keyO);
  EXPECT_EQ(fake.files.requests, 2);
  QKeyEvent keyS = LayoutKeyEvent(dvorak, kKeyS, kCtrl);
  QApplication::sendEvent(frame->CurrentView(), &keyS);
  EXPECT_EQ(fake.files.requests, 3);
  // Russian with US, the Russian layout active: by the letter of the US layout.
  test::TestKeyboard russian("us,ru", 1);
  QKeyEvent shcha = LayoutKeyEvent(russian, kKeyO, kCtrl);
  QApplication::sendEvent(frame->CurrentView(), &shcha);
  EXPECT_EQ(fake.files.requests, 4);
  // Accelerators never reach the view as typing.
  EXPECT_EQ(frame->CurrentView()->m_typedText, u"");
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
