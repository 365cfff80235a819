// The Video settings dialog: reading, checking and clamping the two fields, Enter moving from
// the delay field to the repeat field, Escape still applying, and the report afterwards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>

#include "app/SettingsDialog.h"
#include "tests/fakes/FakePlatform.h"
#include "views/Video2View.h"

namespace verbaro {
namespace {

TEST(SettingsValues, FieldsAreReadAsUnsigned32BitDecimals) {
  EXPECT_EQ(ParseUnsignedField(QStringLiteral("0")), 0u);
  EXPECT_EQ(ParseUnsignedField(QStringLiteral("00750")), 750u);
  EXPECT_EQ(ParseUnsignedField(QStringLiteral("4294967295")), 4294967295u);
  EXPECT_EQ(ParseUnsignedField(QStringLiteral("4294967296")), std::nullopt);
  EXPECT_EQ(ParseUnsignedField(QString()), std::nullopt);
  EXPECT_EQ(ParseUnsignedField(QStringLiteral("-5")), std::nullopt);
  EXPECT_EQ(ParseUnsignedField(QStringLiteral("12a")), std::nullopt);
  EXPECT_EQ(ParseUnsignedField(QStringLiteral("١٢")), std::nullopt) << "only ASCII digits";
}

TEST(SettingsValues, AreClampedToTheirRanges) {
  const auto clamp = [](uint32_t delay, uint32_t repeats) {
    const VideoSettings s = ClampVideoSettings({delay, repeats});
    return std::make_pair(s.delay, s.repeats);
  };
  EXPECT_EQ(clamp(25000, 0), std::make_pair(10000u, 1u));
  EXPECT_EQ(clamp(500, 12), std::make_pair(500u, 10u));
  EXPECT_EQ(clamp(10000, 10), std::make_pair(10000u, 10u));
  EXPECT_EQ(clamp(10001, 11), std::make_pair(10000u, 10u));
  EXPECT_EQ(clamp(0, 1), std::make_pair(0u, 1u));
}

class SettingsDialogTest : public testing::Test {
 protected:
  // A shown dialog with the given starting values.
  std::unique_ptr<CSettingsDialog> Make(uint32_t delay, uint32_t repeats) {
    auto dialog = std::make_unique<CSettingsDialog>(VideoSettings{delay, repeats}, fake.Get());
    dialog->show();
    return dialog;
  }
  static void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
  }

  FakePlatform fake;
};

TEST_F(SettingsDialogTest, StartsWithTheValuesCaretsAtTheStartAndNoControlFocused) {
  auto dialog = Make(1500, 4);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Настройка режима \"Видео\""));
  EXPECT_EQ(dialog->font().pointSize(), 10);
  EXPECT_EQ(dialog->DelayField()->text(), QStringLiteral("1500"));
  EXPECT_EQ(dialog->RepeatsField()->text(), QStringLiteral("4"));
  EXPECT_EQ(dialog->DelayField()->cursorPosition(), 0);
  EXPECT_EQ(dialog->RepeatsField()->cursorPosition(), 0);
  for (QWidget* control : std::initializer_list<QWidget*>{
           dialog->DelayField(), dialog->RepeatsField(), dialog->OkButton()}) {
    EXPECT_NE(dialog->focusWidget(), control) << control->metaObject()->className();
  }
  EXPECT_TRUE(dialog->OkButton()->isDefault());
  EXPECT_EQ(dialog->DelayField()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(SettingsDialogTest, SpaceRightAfterOpeningKeepsItOpenAndEnterCloses) {
  auto dialog = Make(1500, 4);
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  // Keys go where the keyboard focus is; with no control focused that is the dialog itself.
  const auto focused = [&dialog] {
    return dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog.get();
  };
  QTest::keyClick(focused(), Qt::Key_Space);
  EXPECT_TRUE(dialog->isVisible());
  QTest::keyClick(focused(), Qt::Key_Return);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), CSettingsDialog::kResultOk);
  EXPECT_EQ(dialog->Settings().delay, 1500u);
  EXPECT_EQ(dialog->Settings().repeats, 4u);
}

TEST_F(SettingsDialogTest, FieldsTakeDigitsOnly) {
  auto dialog = Make(0, 1);
  Type(dialog->DelayField(), QStringLiteral("4x-2 5"));
  EXPECT_EQ(dialog->DelayField()->text(), QStringLiteral("425"));
}

TEST_F(SettingsDialogTest, OkClampsTheTypedValues) {
  for (const auto& [delayText, repeatsText, delay, repeats] :
       {std::tuple{"25000", "0", 10000u, 1u}, std::tuple{"500", "12", 500u, 10u}}) {
    auto dialog = Make(0, 1);
    Type(dialog->DelayField(), QString::fromLatin1(delayText));
    Type(dialog->RepeatsField(), QString::fromLatin1(repeatsText));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), CSettingsDialog::kResultOk);
    EXPECT_EQ(dialog->Settings().delay, delay);
    EXPECT_EQ(dialog->Settings().repeats, repeats);
  }
  EXPECT_EQ(fake.beeper.beeps, 0);
}

TEST_F(SettingsDialogTest, EnterInTheDelayFieldMovesToTheRepeatFieldThenEnterCloses) {
  auto dialog = Make(0, 1);
  dialog->DelayField()->setFocus();
  Type(dialog->DelayField(), QStringLiteral("300"));
  Type(dialog->RepeatsField(), QStringLiteral("7"));
  dialog->DelayField()->setFocus();

  QTest::keyClick(dialog->DelayField(), Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->focusWidget(), dialog->RepeatsField());
  EXPECT_EQ(dialog->RepeatsField()->selectedText(), QStringLiteral("7"));
  EXPECT_EQ(dialog->DelayField()->cursorPosition(), 0);

  QTest::keyClick(dialog->RepeatsField(), Qt::Key_Return);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), CSettingsDialog::kResultOk);
  EXPECT_EQ(dialog->Settings().delay, 300u);
  EXPECT_EQ(dialog->Settings().repeats, 7u);
}

TEST_F(SettingsDialogTest, AnEmptyDelayFieldCountsAsZeroAndTheRepeatsStillCount) {
  auto dialog = Make(800, 6);
  dialog->DelayField()->clear();
  Type(dialog->RepeatsField(), QStringLiteral("9"));
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(fake.beeper.beeps, 0);
  EXPECT_EQ(dialog->Settings().delay, 0u);
  EXPECT_EQ(dialog->Settings().repeats, 9u);
  EXPECT_EQ(dialog->result(), CSettingsDialog::kResultCancel);
}

TEST_F(SettingsDialogTest, TheCloseBoxActsAsEscape) {
  auto dialog = Make(0, 1);
  Type(dialog->DelayField(), QStringLiteral("12345"));
  Type(dialog->RepeatsField(), QStringLiteral("3"));
  dialog->close();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), CSettingsDialog::kResultCancel);
  EXPECT_EQ(dialog->Settings().delay, 10000u);
  EXPECT_EQ(dialog->Settings().repeats, 3u);
}

TEST_F(SettingsDialogTest, OkClosesWithAnEmptyOrBadFieldAndEmptyCountsAsZero) {
  auto dialog = Make(800, 6);
  dialog->DelayField()->clear();
  Type(dialog->RepeatsField(), QStringLiteral("4"));
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), CSettingsDialog::kResultOk);
  EXPECT_EQ(fake.beeper.beeps, 0);
  EXPECT_EQ(dialog->Settings().delay, 0u);
  EXPECT_EQ(dialog->Settings().repeats, 4u);

  auto emptyRepeats = Make(800, 6);
  emptyRepeats->RepeatsField()->clear();
  QTest::mouseClick(emptyRepeats->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(emptyRepeats->isVisible());
  EXPECT_EQ(emptyRepeats->Settings().delay, 800u);
  EXPECT_EQ(emptyRepeats->Settings().repeats, 1u) << "0 repeats become 1";

  // A number too long for the field beeps and counts as 0; OK still closes.
  auto tooLong = Make(800, 6);
  Type(tooLong->DelayField(), QStringLiteral("99999999999"));
  QTest::mouseClick(tooLong->OkButton(), Qt::LeftButton);
  EXPECT_EQ(fake.beeper.beeps, 1);
  EXPECT_FALSE(tooLong->isVisible());
  EXPECT_EQ(tooLong->Settings().delay, 0u);

  // Enter in an emptied delay field moves on, and Enter again closes.
  auto enter = Make(800, 6);
  enter->DelayField()->setFocus();
  enter->DelayField()->clear();
  QTest::keyClick(enter->DelayField(), Qt::Key_Return);
  EXPECT_TRUE(enter->isVisible());
  EXPECT_EQ(enter->focusWidget(), enter->RepeatsField());
  QTest::keyClick(enter->RepeatsField(), Qt::Key_Return);
  EXPECT_FALSE(enter->isVisible());
  EXPECT_EQ(enter->Settings().delay, 0u);
  EXPECT_EQ(enter->Settings().repeats, 6u);
}

// Runs the settings of a view while `act` plays the user on the modal dialog.
int RunWith(CVideo1View& view, const FakePlatform& fake,
            const std::function<void(CSettingsDialog&)>& act) {
  QTimer::singleShot(0, [&] {
    CSettingsDialog* dialog = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<CSettingsDialog*>(window); d && d->isVisible()) dialog = d;
    }
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
    if (dialog->isVisible()) dialog->done(CSettingsDialog::kResultCancel);
  });
  return RunVideoSettings(view, nullptr, fake.Get());
}

TEST(VideoSettings, EscapeStillAppliesTheValuesAndReportsThem) {
  FakePlatform fake;
  CVideo2View view(fake.Get());
  view.m_nPhraseDelay = 40;
  view.m_nPhraseRepeats = 2;
  QString delayShown, repeatsShown;

  const int result = RunWith(view, fake, [&](CSettingsDialog& dialog) {
    delayShown = dialog.DelayField()->text();
    repeatsShown = dialog.RepeatsField()->text();
    dialog.DelayField()->setText(QStringLiteral("500"));
    dialog.RepeatsField()->setText(QStringLiteral("12"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });

  EXPECT_EQ(delayShown, QStringLiteral("40"));
  EXPECT_EQ(repeatsShown, QStringLiteral("2"));
  EXPECT_EQ(result, 2);
  EXPECT_EQ(view.m_nPhraseDelay, 500);
  EXPECT_EQ(view.m_nPhraseRepeats, 10);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].owner, nullptr);
  EXPECT_EQ(fake.messages.shown[0].caption, QStringLiteral("Информация"));
  EXPECT_EQ(fake.messages.shown[0].text,
            QStringLiteral("Установлено:\nЗадержка между фразами = 500 миллисек.\n"
                           "Количество повторов фраз = 10."));
}

TEST(VideoSettings, OkAppliesToThatViewOnly) {
  FakePlatform fake;
  CVideo1View video1(fake.Get());
  CVideo2View video2(fake.Get());

  const int result = RunWith(video1, fake, [](CSettingsDialog& dialog) {
    dialog.DelayField()->setText(QStringLiteral("25000"));
    dialog.RepeatsField()->setText(QStringLiteral("0"));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
  });

  EXPECT_EQ(result, 1);
  EXPECT_EQ(video1.m_nPhraseDelay, 10000);
  EXPECT_EQ(video1.m_nPhraseRepeats, 1);
  EXPECT_EQ(video2.m_nPhraseDelay, 0);
  EXPECT_EQ(video2.m_nPhraseRepeats, 1);
}

}  // namespace
}  // namespace verbaro
