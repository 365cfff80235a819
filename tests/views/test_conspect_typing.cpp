// The Conspect views: checking what is typed, the navigation keys and when they sound, and keys
// arriving as real key events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "platform/QtKeyboardState.h"
#include "support/ViewsTestSupport.h"
#include "views/Conspect1View.h"
#include "views/Conspect2View.h"
#include "views/EntryGrid.h"
#include "views/VirtualKeys.h"

namespace verbaro {
namespace {

using test::LessonRow;
using test::ViewHarness;

const QString kEndOfFilter = QStringLiteral("Закончились данные по выбранному фильтру!");
const QRect kTypingRow(50, 250, 900, 50);

LessonRow Entry(std::u16string key) {
  return {u"adj", u"", std::move(key), {u"перевод"}, test::ShortMp3()};
}

class ConspectOne : public ::testing::Test {
 protected:
  ViewHarness h{ViewHarness::Make<CConspect1View>};
  int Signals() const { return h.fake.errorSignal.plays; }
  bool RedInk() const { return !test::InkBox(h.Frame(), grid::kTypingError, kTypingRow).isEmpty(); }
  bool BlackInk() const {
    return !test::InkBox(h.Frame(), grid::kTypedText, kTypingRow, 40).isEmpty();
  }
};

TEST_F(ConspectOne, WrongCharacterTurnsTheLineRedUntilCorrected) {
  ASSERT_TRUE(h.Open({Entry(u"été"), Entry(u"et")}));
  EXPECT_TRUE(h.View().m_typedMatches);  // nothing typed: only the black cursor
  EXPECT_TRUE(BlackInk());
  EXPECT_EQ(Signals(), 0);

  h.Keys({'E', 'T'});
  EXPECT_EQ(h.Typed(), u"et");
  EXPECT_FALSE(h.View().m_typedMatches);
  EXPECT_TRUE(RedInk());
  EXPECT_EQ(Signals(), 2);  // at every repaint while wrong

  h.Keys({vk::kBack, vk::kBack});
  EXPECT_EQ(Signals(), 3);
  h.Keys({vk::kControl, vk::kOem7, 'E'});
  EXPECT_EQ(h.Typed(), u"é");
  EXPECT_TRUE(h.View().m_typedMatches);
  EXPECT_FALSE(RedInk());
  EXPECT_TRUE(BlackInk());
  EXPECT_EQ(Signals(), 3);
  EXPECT_EQ(h.Plays(), 1u);  // typing and editing are silent
}

TEST_F(ConspectOne, TypedTextLongerThanTheKeyIsWrong) {
  ASSERT_TRUE(h.Open({Entry(u"et")}));
  h.Keys({'E', 'T'});
  EXPECT_TRUE(h.View().m_typedMatches);
  h.Key('E');
  EXPECT_FALSE(h.View().m_typedMatches);
}

TEST_F(ConspectOne, UncombinedKeyCountsAsOneWrongCharacter) {
  ASSERT_TRUE(h.Open({Entry(u"bon")}));
  h.Keys({vk::kControl, vk::kOem7, 'B'});
  EXPECT_EQ(h.Typed().size(), 1u);
  EXPECT_FALSE(h.View().m_typedMatches);
  h.Key(vk::kBack);
  h.Key('B');
  EXPECT_EQ(h.Typed(), u"b");
  EXPECT_TRUE(h.View().m_typedMatches);
}

// The mark of a key that did not combine is drawn as the accent and the key: not as a question
// mark (the line of a typed "?b" looks otherwise) and never as a replacement character.
TEST_F(ConspectOne, UncombinedKeyShowsAsTheAccentAndTheKey) {
  ASSERT_TRUE(h.Open({Entry(u"bon"), Entry(u"bon")}));
  h.Keys({vk::kShift, vk::kOem2, 'B'});
  ASSERT_EQ(h.Typed(), u"?b");
  const QImage question = h.Frame();
  h.Key(vk::kDown);
  h.Keys({vk::kControl, vk::kOem7, 'B'});
  EXPECT_NE(h.LogText().find("Набрано: \"´b\" : ошибка"), std::string::npos);
  EXPECT_EQ(h.LogText().find("\xEF\xBF\xBD"), std::string::npos) << "U+FFFD in the log";
  EXPECT_GT(test::ChangedPixels(h.Frame(), question, kTypingRow), 20);
  // One Backspace takes the whole mark; the line is as before it.
  h.Key(vk::kBack);
  EXPECT_EQ(h.Typed(), u"");
  const std::string log = h.LogText();
  EXPECT_EQ(log.substr(log.rfind("Набрано: "), 19), "Набрано: \"\"\n");
}

TEST_F(ConspectOne, SpaceMovesOnOnlyWhenTheTypedTextIsTheWord) {
  ASSERT_TRUE(h.Open({Entry(u"un"), Entry(u"a b"), Entry(u"c"), Entry(u"d")}));
  h.Keys({'U', 'U'});  // the word's length, but wrong
  h.Key(vk::kSpace);
  EXPECT_EQ(h.View().m_nUserFilterIndex, 0);
  EXPECT_EQ(h.Typed(), u"uu ");
  EXPECT_FALSE(h.View().m_typedMatches);
  h.Keys({vk::kBack, vk::kBack, 'N', vk::kSpace});
  EXPECT_EQ(h.View().m_nUserFilterIndex, 1);
  EXPECT_EQ(h.Typed(), u"");

  h.Keys({'A', vk::kSpace, 'B'});  // a space inside the word is typed
  EXPECT_EQ(h.Typed(), u"a b");
  EXPECT_TRUE(h.View().m_typedMatches);
  h.Key(vk::kSpace);
  EXPECT_EQ(h.View().m_nUserFilterIndex, 2);

  // A key that did not combine with an armed accent never counts as the word.
  h.Keys({vk::kControl, vk::kOem7, 'B', vk::kSpace});
  EXPECT_EQ(h.View().m_nUserFilterIndex, 2);
  EXPECT_EQ(h.Typed().size(), 2u);
}

TEST_F(ConspectOne, PagesAndEndsStayWithinTheFilter) {
  ASSERT_TRUE(h.Open(test::NumberedRows(5)));
  h.Key(vk::kNext);
  EXPECT_EQ(h.View().m_nUserFilterIndex, 4);
  h.Keys({vk::kUp, 'X'});
  EXPECT_EQ(h.View().m_nUserFilterIndex, 3);
  h.Key(vk::kPrior);
  EXPECT_EQ(h.View().m_nUserFilterIndex, 0);
  EXPECT_EQ(h.Typed(), u"");

  h.Keys({'X', vk::kHome});  // Home on the first entry keeps the text
  EXPECT_EQ(h.Typed(), u"x");
  h.Key(vk::kEnd);
  EXPECT_EQ(h.View().m_nUserFilterIndex, 4);
  EXPECT_EQ(h.Typed(), u"");
  h.Keys({'Y', vk::kEnd, vk::kNext});  // End and PageDown on the last entry keep it too
  EXPECT_EQ(h.Typed(), u"y");

  h.fake.messages.Clear();
  for (int key : {vk::kTab, vk::kReturn, vk::kDown}) h.Key(key);
  EXPECT_EQ(h.Messages(), (std::vector<QString>{kEndOfFilter, kEndOfFilter, kEndOfFilter}));
  EXPECT_EQ(h.View().m_nUserFilterIndex, 4);
  EXPECT_EQ(h.Typed(), u"y");
}

TEST_F(ConspectOne, EveryMoveAndF2SoundWhateverCameBeforeAndTypingNever) {
  ASSERT_TRUE(h.Open(test::NumberedRows(6)));
  h.Keys({'M', vk::kUp});  // Up on the first entry: shown and sounded again, text kept
  EXPECT_EQ(h.Plays(), 2u);
  EXPECT_EQ(h.Typed(), u"m");
  h.Key(vk::kBack);
  EXPECT_EQ(h.Plays(), 2u) << "editing is silent";

  h.Keys({vk::kBack, vk::kTab});  // Backspace on an empty line
  EXPECT_EQ(h.View().m_nUserFilterIndex, 1);
  EXPECT_EQ(h.Plays(), 3u);

  h.Keys({vk::kControl, vk::kOem7, vk::kTab});  // an accent armed: nothing typed
  EXPECT_EQ(h.View().m_nUserFilterIndex, 2);
  EXPECT_EQ(h.Plays(), 4u);

  h.View().StopPlayback(0);  // what the frame does to the view it hides, on F6 and back on F5
  h.Key(vk::kTab);
  EXPECT_EQ(h.Plays(), 5u);

  h.View().StopPlayback(0);  // F7, then back on F5
  EXPECT_TRUE(h.View().PlayCurrentSound()) << "F2";
  EXPECT_EQ(h.Plays(), 6u);

  h.Keys({'M', vk::kBack});  // the accent armed before the moves did not combine: no letter
  h.Keys({'M', 'O', 'T', '4'});
  EXPECT_EQ(h.Typed(), u"mot4");
  EXPECT_EQ(h.Plays(), 6u);
  h.Key(vk::kSpace);  // the whole word: Space moves on and sounds
  EXPECT_EQ(h.View().m_nUserFilterIndex, 4);
  EXPECT_EQ(h.Plays(), 7u);
}

TEST_F(ConspectOne, ArmedAccentCarriesOverToTheNextEntry) {
  ASSERT_TRUE(h.Open({Entry(u"a"), Entry(u"école")}));
  h.Keys({vk::kControl, vk::kOem7, vk::kTab, 'E'});
  EXPECT_EQ(h.View().m_nUserFilterIndex, 1);
  EXPECT_EQ(h.Typed(), u"é");
}

TEST_F(ConspectOne, KeysAreIgnoredWithoutALesson) {
  h.Keys({'A', vk::kEnd, 'B'});
  EXPECT_EQ(h.Typed(), u"");
}

TEST_F(ConspectOne, KeyEventsReachTheViewByPhysicalKey) {
  ASSERT_TRUE(h.Open({Entry(u"qa"), Entry(u"b")}));
  auto send = [this](int qtKey, Qt::KeyboardModifiers modifiers, quint32 x11Keycode) {
    QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, x11Keycode, 0, 0);
    QApplication::sendEvent(&h.View(), &event);
  };
  send(Qt::Key_A, Qt::NoModifier, 24);  // AZERTY: the key at the place of Q
  send(Qt::Key_Q, Qt::NoModifier, 38);
  EXPECT_EQ(h.Typed(), u"qa");
  send(Qt::Key_B, Qt::AltModifier, 56);  // an Alt combination belongs to the menu
  EXPECT_EQ(h.Typed(), u"qa");
  send(Qt::Key_Tab, Qt::NoModifier, 0);  // Tab is the view's, not the focus chain's
  EXPECT_EQ(h.View().m_nUserFilterIndex, 1);
}

// Keys that stand for no character, as the X server reports them: Qt key and X11 keycode.
constexpr std::pair<int, quint32> kKeysWithoutCharacter[] = {
    {Qt::Key_Left, 113},  {Qt::Key_Right, 114},  {Qt::Key_Insert, 118},    {Qt::Key_Delete, 119},
    {Qt::Key_Escape, 9},  {Qt::Key_F8, 74},      {Qt::Key_F9, 75},         {Qt::Key_F11, 95},
    {Qt::Key_F12, 96},    {Qt::Key_Meta, 133},   {Qt::Key_Menu, 135},      {Qt::Key_Pause, 127},
    {Qt::Key_Print, 107}, {Qt::Key_NumLock, 77}, {Qt::Key_ScrollLock, 78}, {Qt::Key_F8, 0},
    {Qt::Key_Left, 0},    {Qt::Key_Escape, 0},   {Qt::Key_Meta, 0},
};

TEST(ConspectKeysWithoutCharacter, TypeNothingAndChangeNothing) {
  for (const bool latin : {true, false}) {
    SCOPED_TRACE(latin ? "Конспект-1" : "Конспект-2");
    ViewHarness h(latin ? ViewHarness::Make<CConspect1View> : ViewHarness::Make<CConspect2View>);
    ASSERT_TRUE(h.Open({Entry(u"l'été"), Entry(u"b")}));
    h.Key('L');
    if (latin) h.Keys({vk::kControl, vk::kOem7});  // an accent armed
    const std::u16string typed = h.Typed();
    const size_t logged = h.LogText().size();
    const int errorSignals = h.fake.errorSignal.plays;

    for (const auto& [qtKey, x11Keycode] : kKeysWithoutCharacter) {
      QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier, x11Keycode, 0, 0);
      QApplication::sendEvent(&h.View(), &event);
      EXPECT_EQ(h.Typed(), typed) << "Qt key " << qtKey << ", keycode " << x11Keycode;
    }
    EXPECT_EQ(h.LogText().size(), logged) << "nothing was redrawn";
    EXPECT_EQ(h.fake.errorSignal.plays, errorSignals);
    EXPECT_EQ(h.View().m_nUserFilterIndex, 0);

    h.Key('E');
    EXPECT_EQ(h.Typed(), latin ? u"lé" : u"ду") << "the armed accent is still there";
  }
}

TEST_F(ConspectOne, RussianLayoutStillTypesLatinLettersByPhysicalKey) {
  ASSERT_TRUE(h.Open({Entry(u"chat"), Entry(u"b")}));
  // With a Russian layout the X server reports Cyrillic keys for the keys C, H, A and T.
  const std::pair<int, quint32> keys[] = {{0x0421, 54}, {0x0420, 43}, {0x0424, 38}, {0x0415, 28}};
  for (const auto& [cyrillic, x11Keycode] : keys) {
    QKeyEvent event(QEvent::KeyPress, cyrillic, Qt::NoModifier, x11Keycode, 0, 0,
                    QString(QChar(cyrillic)).toLower());
    QApplication::sendEvent(&h.View(), &event);
  }
  EXPECT_EQ(h.Typed(), u"chat");
  EXPECT_TRUE(h.View().m_typedMatches);
}

TEST(ConspectTwo, FrenchLayoutStillTypesCyrillicByPhysicalKey) {
  ViewHarness h(ViewHarness::Make<CConspect2View>);
  ASSERT_TRUE(h.Open({{u"m", u"s", u"chat", {u"кот2"}, test::ShortMp3()}}));
  // AZERTY: the keys R, J and N keep their letters; the key of the digit 2 reports é.
  const std::pair<int, quint32> keys[] = {
      {Qt::Key_R, 27}, {Qt::Key_J, 44}, {Qt::Key_N, 57}, {Qt::Key_Eacute, 11}};
  for (const auto& [qtKey, x11Keycode] : keys) {
    QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier, x11Keycode, 0, 0);
    QApplication::sendEvent(&h.View(), &event);
  }
  EXPECT_EQ(h.Typed(), u"кот2");
}

TEST(ConspectTwo, ReversedLessonTypedInCyrillic) {
  ViewHarness h(ViewHarness::Make<CConspect2View>);
  ASSERT_TRUE(h.Open({{u"m", u"s", u"chat", {u"кот", u"кошка"}, test::ShortMp3()}}));
  EXPECT_EQ(h.View().m_vUserIndexes.size(), 2u);
  EXPECT_EQ(h.View().m_wsKeyWord, u"кот");
  h.Keys({'R', 'J', 'N'});
  EXPECT_EQ(h.Typed(), u"кот");
  EXPECT_TRUE(h.View().m_typedMatches);
}

// Conspect-2 on the desktop keyboard state: CapsLock is read from every key event, never guessed
// from the CapsLock presses the view happens to see.
std::unique_ptr<CWordsView> MakeConspect2OnDesktopKeyboard(const Platform& platform) {
  static QtKeyboardState keyboard;
  Platform withKeyboard = platform;
  withKeyboard.keyboard = &keyboard;
  return std::make_unique<CConspect2View>(withKeyboard);
}

TEST(ConspectTwo, CapsLockComesWithEachKeyEvent) {
  ViewHarness h(MakeConspect2OnDesktopKeyboard);
  ASSERT_TRUE(h.Open({{u"m", u"s", u"chat", {u"кот"}, test::ShortMp3()}}));
  auto typeQ = [&h](quint32 nativeModifiers) {
    QKeyEvent event(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 24, 0, nativeModifiers);
    QApplication::sendEvent(&h.View(), &event);
  };
  typeQ(0x02);  // CapsLock was on before the program started: no CapsLock key ever reached it
  EXPECT_EQ(h.Typed(), u"Й");
  typeQ(0x00);  // turned off while a dialog had the keys
  EXPECT_EQ(h.Typed(), u"Йй");
  QKeyEvent capsLock(QEvent::KeyPress, Qt::Key_CapsLock, Qt::NoModifier, 66, 0, 0);
  QApplication::sendEvent(&h.View(), &capsLock);  // switches layouts (grp:caps_toggle): no lock
  const std::u16string afterCapsLock = h.Typed();
  typeQ(0x2000);
  EXPECT_EQ(h.Typed(), afterCapsLock + u"й");
}

class CountingConspect2 : public CConspect2View {
 public:
  using CConspect2View::CConspect2View;
  int repaints = 0;
  void Repaint() override {
    ++repaints;
    CConspect2View::Repaint();
  }
};

TEST(ConspectTwo, CtrlHeldTypesNothingAndRepaintsNothing) {
  ViewHarness h(ViewHarness::Make<CountingConspect2>);
  ASSERT_TRUE(h.Open({{u"m", u"s", u"chat", {u"кот"}, test::ShortMp3()}}));
  auto& view = h.As<CountingConspect2>();
  const int repaints = view.repaints;
  h.fake.keyboard.ctrl = true;
  h.Keys({vk::kControl, 'R', 'J', vk::kOem1});
  EXPECT_EQ(h.Typed(), u"");
  EXPECT_EQ(view.repaints, repaints);
  h.fake.keyboard.ctrl = false;
  h.fake.keyboard.shift = true;
  h.Keys({vk::kShift, 'R'});
  EXPECT_EQ(h.Typed(), u"К");
  EXPECT_EQ(view.repaints, repaints + 1);
}

}  // namespace
}  // namespace verbaro
