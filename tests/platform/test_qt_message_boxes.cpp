// Real message boxes on the offscreen platform: when a box closes, the keyboard goes back to the
// window that had it, so that the frame's shortcuts keep acting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include "platform/MessageBoxes.h"
#include "tests/support/Application.h"

namespace verbaro {
namespace {

struct ShownBox {
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows one real box through `show` and answers it with OK as soon as it is up.
template <typename Show>
ShownBox ShowAndAnswerBox(Show show) {
  ShownBox shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown = {box->windowTitle(), box->icon()};
    box->accept();
  });
  QtMessageBoxes boxes;
  show(boxes);
  return shown;
}

// Returns the window title of the box.
QString ShowAndAnswer(QWidget* owner, const QString& caption) {
  return ShowAndAnswerBox([&](MessageBoxes& boxes) {
           boxes.Show(owner, caption, QStringLiteral("Закончились данные по выбранному фильтру!"));
         })
      .title;
}

bool BecomesActive(QWidget& window) {
  return test::WaitFor([&window] { return QApplication::activeWindow() == &window; }, 2000);
}

class QtBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    frame.resize(400, 300);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(BecomesActive(frame));
  }
  const bool m_application = (test::EnsureApplication(), true);
  QMainWindow frame;
};

TEST_F(QtBoxes, TheFrameIsActiveAgainWhateverTheBoxesOwner) {
  QWidget view(&frame);  // a child of the frame, as a study view is
  for (QWidget* owner : {static_cast<QWidget*>(nullptr), static_cast<QWidget*>(&frame), &view}) {
    EXPECT_EQ(ShowAndAnswer(owner, QStringLiteral("Информация")), QStringLiteral("Информация"));
    EXPECT_TRUE(BecomesActive(frame)) << "owner " << owner;
  }
}

TEST_F(QtBoxes, ABoxOwnedByADialogGivesTheKeyboardBackToTheDialog) {
  QDialog dialog(&frame);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(BecomesActive(dialog));
  EXPECT_EQ(ShowAndAnswer(&dialog, QStringLiteral("wParam")), QStringLiteral("wParam"));
  EXPECT_TRUE(BecomesActive(dialog));
}

TEST_F(QtBoxes, ABoxWithoutOwnerAfterADialogClosedGivesTheKeyboardToTheFrame) {
  // The Video settings report their values in a box without owner once the dialog is gone.
  QDialog dialog(&frame);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(BecomesActive(dialog));
  dialog.hide();
  ShowAndAnswer(nullptr, QStringLiteral("Информация"));
  EXPECT_TRUE(BecomesActive(frame));
}

TEST_F(QtBoxes, TheKindOfABoxGivesItsIcon) {
  const ShownBox error = ShowAndAnswerBox(
      [&](MessageBoxes& boxes) { boxes.ShowError(&frame, QStringLiteral("Вид не определен")); });
  EXPECT_EQ(error.title, QStringLiteral("Ошибка"));
  EXPECT_EQ(error.icon, QMessageBox::Critical);
  const ShownBox lessonError = ShowAndAnswerBox([&](MessageBoxes& boxes) {
    boxes.Show(&frame, QStringLiteral("Ошибка"), QStringLiteral("Нет данных!"), MessageKind::Error);
  });
  EXPECT_EQ(lessonError.icon, QMessageBox::Critical);
  for (const QString& caption : {QStringLiteral("Информация"), QStringLiteral("wParam")}) {
    const ShownBox info = ShowAndAnswerBox(
        [&](MessageBoxes& boxes) { boxes.Show(&frame, caption, QStringLiteral("1")); });
    EXPECT_EQ(info.title, caption);
    EXPECT_EQ(info.icon, QMessageBox::Information);
  }
}

}  // namespace
}  // namespace verbaro
