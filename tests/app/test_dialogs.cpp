#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/AboutDialog.h"
#include "app/HelpDialog.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/support/Application.h"

namespace verbaro {
namespace {

// Sends a key press and release to the widget that has the focus in `dialog` (the dialog itself
// when none has), as typing it would.
void Type(QDialog& dialog, int key) {
  QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
  if (!dialog.isVisible()) return;
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &release);
}

// Runs the dialog modally as the program does, doing `whileShown` once it is up; the watchdog
// closes it if the test's keys did not.
int RunModal(QDialog& dialog, const std::function<void()>& whileShown) {
  QTimer::singleShot(0, &dialog, whileShown);
  QTimer::singleShot(5000, &dialog, [&dialog] {
    ADD_FAILURE() << "the dialog stayed open";
    dialog.done(-100);
  });
  return dialog.exec();
}

void Click(QWidget* widget, QPoint at) {
  const QPointF local(at);
  const QPointF global(widget->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &release);
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureApplication(); }
  FakePlatform fakes;
};

TEST_F(Dialogs, AboutClosesWithOneOnOkAndEnterAndWithTwoOnEscapeAndTheCloseBox) {
  {
    CAboutDialog dialog(fakes.Get());
    EXPECT_EQ(RunModal(dialog, [&] { Type(dialog, Qt::Key_Return); }), 1);
  }
  {
    CAboutDialog dialog(fakes.Get());
    EXPECT_EQ(RunModal(dialog, [&] { Type(dialog, Qt::Key_Enter); }), 1);
  }
  {
    CAboutDialog dialog(fakes.Get());
    EXPECT_EQ(RunModal(dialog, [&] { Type(dialog, Qt::Key_Escape); }), 2);
  }
  {
    CAboutDialog dialog(fakes.Get());
    EXPECT_EQ(RunModal(dialog, [&] { dialog.OkButton()->click(); }), 1);
  }
  {
    CAboutDialog dialog(fakes.Get());
    EXPECT_EQ(RunModal(dialog, [&] { dialog.close(); }), 2);
  }
  EXPECT_TRUE(fakes.urls.opened.empty());
}

TEST_F(Dialogs, AboutShowsItsTitleAndOpensEachLinkAddressThroughTheDesktop) {
  CAboutDialog dialog(fakes.Get());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("О программе"));
  EXPECT_EQ(dialog.font().pointSize(), 10);
  const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
  const bool hasTitle = std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
    return label->text().startsWith(QStringLiteral("Обучающая программа: «Verbaro, v. 1.00»\n"));
  });
  EXPECT_TRUE(hasTitle);
  const bool hasIcon = std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
    return !label->pixmap().isNull() && label->pixmap().width() >= 32;
  });
  EXPECT_TRUE(hasIcon);

  dialog.show();
  for (int i = 0; i < 4; ++i) {
    QLabel* link = dialog.Link(i);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->objectName(), QStringLiteral("link%1").arg(CAboutDialog::kLinkIds[i]));
    // The address shown is the address opened.
    const QString address = CAboutDialog::LinkAddresses()[static_cast<size_t>(i)];
    EXPECT_EQ(QTextDocumentFragment::fromHtml(link->text()).toPlainText(), address);
    EXPECT_TRUE(address.contains(QStringLiteral("example.org")));
    Click(link, QPoint(link->contentsRect().left() + 4, link->height() / 2));
    ASSERT_EQ(fakes.urls.opened.size(), static_cast<size_t>(i + 1)) << address.toStdString();
    EXPECT_EQ(fakes.urls.opened.back(), address);
  }
  EXPECT_TRUE(CAboutDialog::LinkAddresses()[3].startsWith(QStringLiteral("mailto:")));
  EXPECT_TRUE(dialog.isVisible());  // a link does not close the dialog
}

TEST_F(Dialogs, HelpClosesWithZeroOnEscapeAndOnTheCloseBox) {
  {
    HelpDialog dialog(fakes.Get());
    EXPECT_EQ(RunModal(dialog, [&] { Type(dialog, Qt::Key_Escape); }), 0);
  }
  {
    HelpDialog dialog(fakes.Get());
    EXPECT_EQ(RunModal(dialog, [&] { dialog.close(); }), 0);
  }
  EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(Dialogs, HelpAnswersEnterWithTheWParamBoxAndStaysOpen) {
  HelpDialog dialog(fakes.Get());
  bool stillOpen = false;
  const int result = RunModal(dialog, [&] {
    Type(dialog, Qt::Key_Return);
    Type(dialog, Qt::Key_Enter);
    stillOpen = dialog.isVisible();
    Type(dialog, Qt::Key_Escape);
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(result, 0);
  ASSERT_EQ(fakes.messages.shown.size(), 2u);
  for (const auto& box : fakes.messages.shown) {
    EXPECT_EQ(box.caption, QStringLiteral("wParam"));
    EXPECT_EQ(box.text, QStringLiteral("1"));
    EXPECT_EQ(box.owner, &dialog);
  }
}

TEST_F(Dialogs, HelpShowsTheManualReadOnlyWithTheCaretAtTheStart) {
  HelpDialog dialog(fakes.Get());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Помощь"));
  QPlainTextEdit* text = dialog.TextControl();
  EXPECT_EQ(text->toPlainText(), HelpDialog::HelpText());
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text->palette().color(QPalette::Text), QColor(0x00, 0x00, 0x80));
  EXPECT_EQ(text->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xF4));

  dialog.show();
  // Wherever the caret was, taking the focus puts it back at the start with nothing selected.
  QTextCursor moved = text->textCursor();
  moved.setPosition(100);
  moved.setPosition(140, QTextCursor::KeepAnchor);
  text->setTextCursor(moved);
  QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
  QCoreApplication::sendEvent(text, &focusIn);
  EXPECT_EQ(text->textCursor().position(), 0);
  EXPECT_FALSE(text->textCursor().hasSelection());
}

TEST_F(Dialogs, HelpTakesItsSizeFromTheFrameWithinTheScreen) {
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  QWidget smallFrame;
  smallFrame.resize(400, 300);
  HelpDialog small(fakes.Get(), &smallFrame);
  EXPECT_GE(small.width(), std::min(640, screen.width()));
  EXPECT_GE(small.height(), std::min(480, screen.height()));

  QWidget wideFrame;
  wideFrame.resize(screen.width() * 3, screen.height() * 3);
  HelpDialog wide(fakes.Get(), &wideFrame);
  EXPECT_LE(wide.width(), screen.width());
  EXPECT_LE(wide.height(), screen.height());
  EXPECT_GE(wide.width(), small.width());
  EXPECT_EQ(wide.minimumSize(), wide.maximumSize());  // fixed: not sized by its edges
}

TEST(HelpText, HasItsTenSectionsInOrderTheAccentTableAndTheExpectedLength) {
  const QString text = HelpDialog::HelpText();
  const QStringList headings = {QStringLiteral("ОБУЧАЮЩАЯ ПРОГРАММА"),
                                QStringLiteral("КОНТАКТНАЯ ИНФОРМАЦИЯ:"),
                                QStringLiteral("ВВЕДЕНИЕ"),
                                QStringLiteral("ДАННЫЕ ДЛЯ ПРОГРАММЫ"),
                                QStringLiteral("РАБОТА С ПРОГРАММОЙ"),
                                QStringLiteral("ПАМЯТЬ ПРОГРАММЫ"),
                                QStringLiteral("ПРИМЕЧАНИЕ 1"),
                                QStringLiteral("ПРИМЕЧАНИЕ 2"),
                                QStringLiteral("ПРИМЕЧАНИЕ 3"),
                                QStringLiteral("ПРИМЕЧАНИЕ 4")};
  const QStringList lines = text.split(QLatin1Char('\n'));
  qsizetype previous = -1;
  for (const QString& heading : headings) {
    const qsizetype at = lines.indexOf(heading);
    EXPECT_GT(at, previous) << heading.toStdString();  // a line of its own, in order
    previous = at;
  }
  EXPECT_TRUE(text.contains(QStringLiteral("«Verbaro, v. 1.00»")));
  EXPECT_TRUE(lines.contains(QStringLiteral("by Halvorn (Хальворн),")));
  EXPECT_TRUE(text.contains(QStringLiteral("https://verbaro.example.org/")));
  EXPECT_TRUE(text.contains(QStringLiteral("halvorn@example.org")));
  EXPECT_TRUE(text.contains(QStringLiteral("«Res_»")));

  const QStringList table = {
      QStringLiteral("Вставляемая буква\tСочетания клавиш (с учетом регистра)"),
      QStringLiteral("à, è, ì, ò, ù, À, È, Ì, Ò, Ù\tCtrl+` → буква"),
      QStringLiteral("á, ð, é, í, ó, ú, ý, Á, Ð, É, Í, Ó, Ú, Ý\tCtrl+' → буква"),
      QStringLiteral("ç, Ç\tCtrl+, → буква"),
      QStringLiteral("ã, ñ, õ, Ã, Ñ, Õ\tCtrl+Shift+` (~) → буква"),
      QStringLiteral("â, ê, î, ô, û, Â, Ê, Î, Ô, Û\tCtrl+Shift+6 (^) → буква"),
      QStringLiteral("ä, ë, ï, ö, ü, ÿ, Ä, Ë, Ï, Ö, Ü, Ÿ\tCtrl+Shift+; (:) → буква"),
      QStringLiteral("å, Å\tCtrl+Shift+2 (@) → буква"),
      QStringLiteral("ø, Ø\tCtrl+/ → буква"),
      QStringLiteral("æ, œ, ß, Æ, Œ, ẞ\tCtrl+Shift+7 (&) → a, o, s"),
      QStringLiteral("¡, ¿\tCtrl+Shift+1 (!), Ctrl+Shift+/ (?)")};
  const qsizetype tableStart = lines.indexOf(table.front());
  ASSERT_GT(tableStart, lines.indexOf(QStringLiteral("ПРИМЕЧАНИЕ 2")));
  for (qsizetype i = 0; i < table.size(); ++i) {
    EXPECT_EQ(lines.value(tableStart + i), table[i]) << i;
  }
  EXPECT_EQ(text.count(QLatin1Char('\t')), table.size());  // the table is the only tabbed text

  // About 10 000 characters: a resource cut short or doubled shows here.
  EXPECT_GE(text.size(), 10000 * 85 / 100);
  EXPECT_LE(text.size(), 10000 * 115 / 100);
  // How to make a lesson, with the builder's two commands.
  EXPECT_TRUE(text.contains(QStringLiteral("verbaro-lesson build")));
  EXPECT_TRUE(text.contains(QStringLiteral("verbaro-lesson check")));
}

}  // namespace
}  // namespace verbaro
