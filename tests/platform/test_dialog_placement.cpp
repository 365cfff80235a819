// Boxes and dialogs drawn inside the main window where the desktop would put them away from it
// (GNOME on Wayland): centred over the window, captioned, modal for the rest of the window, and
// the keyboard back where it was once they close.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/DialogPlacement.h"
#include "platform/MessageBoxes.h"
#include "tests/support/Application.h"

namespace verbaro {
namespace {

TEST(DialogsInsideWindow, OnlyGnomeOnWaylandUnlessTheEnvironmentSays) {
  const struct {
    const char* platform;
    const char* desktop;
    const char* override;
    bool inside;
  } cases[] = {
      {"wayland", "GNOME", "", true},
      {"wayland", "ubuntu:GNOME", "", true},  // a list, GNOME in it
      {"wayland", "GNOME-Classic:GNOME", "", true},
      {"wayland-egl", "gnome", "", true},  // the desktop's name in any case
      {"wayland", "sway", "", false},      // places a parented dialog over its parent
      {"wayland", "KDE", "", false},
      {"wayland", "GNOMEISH", "", false},  // a whole name, not a prefix
      {"wayland", "", "", false},
      {"xcb", "GNOME", "", false},  // X11: the program places its dialogs
      {"offscreen", "", "window", true},
      {"wayland", "GNOME", "desktop", false},
      {"wayland", "GNOME", "something else", true},  // an unknown value changes nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DialogsInsideWindow(QString::fromUtf8(c.platform), QString::fromUtf8(c.desktop),
                                  QString::fromUtf8(c.override)),
              c.inside)
        << c.platform << " / " << c.desktop << " / " << c.override;
  }
}

class InsideWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("VERBARO_DIALOGS", "window");
    frame.menuBar()->addMenu(QStringLiteral("&0-Файл"));
    frame.setCentralWidget(view);
    frame.resize(900, 640);
    frame.show();
    frame.activateWindow();
    view->setFocus();
    ASSERT_TRUE(test::WaitFor([this] { return QApplication::focusWidget() == view; }, 2000));
  }
  void TearDown() override { qunsetenv("VERBARO_DIALOGS"); }

  QMessageBox* Box() const { return frame.findChild<QMessageBox*>(); }
  static void Key(QWidget* target, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
  }

  const bool m_application = (test::EnsureApplication(), true);
  QMainWindow frame;
  QLineEdit* view = new QLineEdit;  // stands for the study view that has the keys
};

TEST_F(InsideWindow, ABoxWithoutOwnerIsCentredOverTheWindowAndTheRestTakesNoInput) {
  bool checked = false;
  QTimer::singleShot(0, [&] {
    QMessageBox* box = Box();
    ASSERT_NE(box, nullptr);
    checked = true;
    EXPECT_FALSE(box->isWindow());
    EXPECT_TRUE(HoldsDialogInside(&frame));
    EXPECT_EQ(box->window(), &frame);
    EXPECT_EQ(box->text(), QStringLiteral("Звук выключен!"));
    // Its frame (caption and box) sits in the middle of the window, whole.
    QWidget* boxFrame = box->parentWidget();
    const QRect placed(boxFrame->mapTo(&frame, QPoint(0, 0)), boxFrame->size());
    EXPECT_TRUE(frame.rect().contains(placed));
    EXPECT_LE(std::abs(placed.center().x() - frame.rect().center().x()), 1);
    EXPECT_LE(std::abs(placed.center().y() - frame.rect().center().y()), 1);
    const QList<QLabel*> labels = boxFrame->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front()->text(), QStringLiteral("Информация"));
    // The window's own parts wait; the keyboard is in the box.
    EXPECT_FALSE(view->isEnabled());
    EXPECT_FALSE(frame.menuBar()->isEnabled());
    EXPECT_TRUE(box->isAncestorOf(QApplication::focusWidget()));
    Key(view, Qt::Key_X,
        QStringLiteral("x"));  // a key that finds its way to the view anyway types nothing
    Key(QApplication::focusWidget(), Qt::Key_Return);
  });
  QtMessageBoxes boxes;
  boxes.Show(nullptr, QStringLiteral("Информация"), QStringLiteral("Звук выключен!"));
  ASSERT_TRUE(checked);
  EXPECT_EQ(view->text(), QString());
  // Closed: nothing of it is left in the window, everything takes input again, and the keys go
  // back to the view, so that typing after the box reaches it.
  EXPECT_EQ(Box(), nullptr);
  EXPECT_FALSE(HoldsDialogInside(&frame));
  EXPECT_TRUE(view->isEnabled());
  EXPECT_TRUE(frame.menuBar()->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), view);
  Key(QApplication::focusWidget(), Qt::Key_A, QStringLiteral("a"));
  EXPECT_EQ(view->text(), QStringLiteral("a"));
}

TEST_F(InsideWindow, ABoxOverADialogInsideTheWindowWaitsForTheBoxFirstAndEscapeClosesTheDialog) {
  // The Help dialog reports a command in a box it owns: both are inside the window, the box over
  // the dialog, and the dialog takes no key until the box is answered.
  QDialog dialog(&frame);
  dialog.setWindowTitle(QStringLiteral("Помощь"));
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  dialog.setFixedSize(300, 200);
  QtMessageBoxes boxes;
  bool inner = false, outer = false;
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
    QTimer::singleShot(0, [&] {
      QMessageBox* box = Box();
      ASSERT_NE(box, nullptr);
      inner = true;
      EXPECT_FALSE(dialog.isEnabled() && ok->isEnabled() && dialog.parentWidget()->isEnabled());
      Key(QApplication::focusWidget(), Qt::Key_Return);
    });
    boxes.Show(&dialog, QStringLiteral("wParam"), QStringLiteral("1"));
    // The box has gone; the dialog has the keys again.
    EXPECT_TRUE(dialog.isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == &dialog);
    outer = true;
    Key(QApplication::focusWidget(), Qt::Key_Escape);
  });
  QTimer::singleShot(0, [&] {
    EXPECT_FALSE(dialog.isWindow());
    EXPECT_EQ(dialog.size(), QSize(300, 200));  // a dialog's own fixed size holds inside
    ok->click();
  });
  EXPECT_EQ(ExecDialog(dialog), QDialog::Rejected);
  EXPECT_TRUE(inner);
  EXPECT_TRUE(outer);
  // The dialog is the caller's again, a window of its own, and the view has the keys.
  EXPECT_TRUE(dialog.isWindow());
  EXPECT_EQ(dialog.parentWidget(), &frame);
  EXPECT_EQ(QApplication::focusWidget(), view);
}

TEST_F(InsideWindow, TheBoxFollowsTheWindowWhenItIsResized) {
  bool checked = false;
  QTimer::singleShot(0, [&] {
    frame.resize(1200, 800);
    QApplication::processEvents();
    QWidget* boxFrame = Box()->parentWidget();
    const QRect placed(boxFrame->mapTo(&frame, QPoint(0, 0)), boxFrame->size());
    EXPECT_LE(std::abs(placed.center().x() - frame.rect().center().x()), 1);
    EXPECT_LE(std::abs(placed.center().y() - frame.rect().center().y()), 1);
    checked = true;
    Box()->accept();
  });
  QtMessageBoxes boxes;
  boxes.Show(view, QStringLiteral("Ошибка"), QStringLiteral("Вид не определен"));
  EXPECT_TRUE(checked);
}

TEST_F(InsideWindow, WithoutAWindowOnTheScreenTheDialogIsAWindowOfItsOwn) {
  frame.hide();
  QDialog dialog;
  bool checked = false;
  QTimer::singleShot(0, [&] {
    EXPECT_TRUE(dialog.isWindow());
    EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
    checked = true;
    dialog.accept();
  });
  EXPECT_EQ(ExecDialog(dialog), QDialog::Accepted);
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace verbaro
