// The keyboard goes back to the study view when a menu of the frame closes, and stays where it is
// while a dialog or another window of the program has it. Alt alone, a menu closed by a click on
// the window and the dialogs are run on a real X server by the focus end-to-end test.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <memory>

#include "app/MainFrame.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"
#include "views/WordsView.h"

namespace verbaro {
namespace {

class KeyboardReturnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    frame = std::make_unique<CMainFrame>(fake.Get());
    ASSERT_TRUE(frame->CreateFrame(QRect(0, 0, 1000, 700)));
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(test::WaitFor([this] { return QApplication::focusWidget() == View(); }, 2000));
  }
  QWidget* View() const { return frame->CurrentView(); }
  QMenuBar* Bar() const { return frame->menuBar(); }

  static void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                  const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
  }
  // A click on the title of the menu bar's menu `index`, as the mouse gives it.
  void ClickTitle(int index) {
    const QPoint at = Bar()->actionGeometry(Bar()->actions().at(index)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, Bar()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Bar(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, Bar()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Bar(), &release);
  }
  // The menu open now, once the desktop has shown it.
  static QMenu* OpenMenu() {
    Settle();
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  }
  static void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  // The keyboard is the view's: it has the focus, the menu bar highlights nothing, and a digit
  // (the access key of a menu) opens no menu.
  void ExpectKeysAtTheView(const char* after) {
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), View()) << after;
    EXPECT_EQ(Bar()->activeAction(), nullptr) << after;
    Key(QApplication::focusWidget(), Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    Settle();
    EXPECT_EQ(OpenMenu(), nullptr) << "a digit opened a menu after " << after;
    if (QMenu* menu = OpenMenu()) menu->hide();
  }

  FakePlatform fake;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(KeyboardReturnTest, AMenuClosedWithEscapeLeavesNothingInTheMenuBar) {
  ClickTitle(0);
  ASSERT_NE(OpenMenu(), nullptr);
  Key(OpenMenu(), Qt::Key_Escape);
  EXPECT_EQ(OpenMenu(), nullptr);
  ExpectKeysAtTheView("a clicked menu closed with Escape");

  // Opened with Alt and the access key, moved to the next menu with the arrow key, closed.
  Key(View(), Qt::Key_0, Qt::AltModifier, QStringLiteral("0"));
  ASSERT_NE(OpenMenu(), nullptr);
  Key(OpenMenu(), Qt::Key_Right);
  ASSERT_NE(OpenMenu(), nullptr) << "the next menu is open: the keyboard stays in the menus";
  EXPECT_EQ(OpenMenu()->title(), Bar()->actions().at(1)->text());
  Key(OpenMenu(), Qt::Key_Escape);
  ExpectKeysAtTheView("a menu opened with Alt+0 and closed with Escape");
}

TEST_F(KeyboardReturnTest, AMenuClosedByAnItemThatOpensNoWindowGivesTheViewTheKeys) {
  // «2-Вид» → «1-Статусбар» chosen with the keys: the status bar goes, the keys come back.
  Key(View(), Qt::Key_2, Qt::AltModifier, QStringLiteral("2"));
  ASSERT_NE(OpenMenu(), nullptr);
  Key(OpenMenu(), Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
  EXPECT_TRUE(frame->statusBar()->isHidden());
  ExpectKeysAtTheView("an item chosen");
}

TEST_F(KeyboardReturnTest, AMenuClosingInADialogOrAnotherWindowLeavesTheirKeysAlone) {
  // A dialog of the frame: its field keeps the keys when its own menu closes.
  QDialog dialog(frame.get());
  auto* field = new QLineEdit(&dialog);
  bool checked = false;
  QTimer::singleShot(0, [&] {
    dialog.activateWindow();
    EXPECT_TRUE(test::WaitFor([&] { return QApplication::activeWindow() == &dialog; }, 2000));
    field->setFocus();
    QMenu menu(field);
    menu.addAction(QStringLiteral("x"));
    menu.popup(field->mapToGlobal(QPoint(0, 0)));
    Settle();
    menu.hide();
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), field);
    checked = true;
    dialog.accept();
  });
  dialog.exec();
  EXPECT_TRUE(checked);
  ExpectKeysAtTheView("the dialog closed");

  // Another window of the program that the learner went to keeps the keys when its menu closes.
  QWidget other;
  auto* otherField = new QLineEdit(&other);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(test::WaitFor([&] { return QApplication::activeWindow() == &other; }, 2000));
  otherField->setFocus();
  QMenu menu(otherField);
  menu.addAction(QStringLiteral("x"));
  menu.popup(otherField->mapToGlobal(QPoint(0, 0)));
  Settle();
  Key(&menu, Qt::Key_Escape);
  Settle();
  EXPECT_EQ(QApplication::focusWidget(), otherField);
}

}  // namespace
}  // namespace verbaro
