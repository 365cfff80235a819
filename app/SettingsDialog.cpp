#include "app/SettingsDialog.h"

#include "platform/DialogPlacement.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <limits>

#include "platform/Desktop.h"
#include "platform/DialogUnits.h"
#include "platform/MessageBoxes.h"
#include "views/Video1View.h"

namespace verbaro {

namespace {
constexpr int kDialogFontPointSize = 10;
}  // namespace

std::optional<uint32_t> ParseUnsignedField(const QString& text) {
  if (text.isEmpty()) return std::nullopt;
  uint64_t value = 0;
  for (const QChar ch : text) {
    if (ch < u'0' || ch > u'9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(ch.unicode() - u'0');
    if (value > std::numeric_limits<uint32_t>::max()) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

VideoSettings ClampVideoSettings(VideoSettings settings) {
  if (settings.delay > kMaxPhraseDelay) settings.delay = kMaxPhraseDelay;
  if (settings.repeats > kMaxPhraseRepeats) settings.repeats = kMaxPhraseRepeats;
  if (settings.repeats < kMinPhraseRepeats) settings.repeats = kMinPhraseRepeats;
  return settings;
}

QString VideoSettingsReport(VideoSettings settings) {
  return QStringLiteral(
             "Установлено:\nЗадержка между фразами = %1 миллисек.\n"
             "Количество повторов фраз = %2.")
      .arg(settings.delay)
      .arg(settings.repeats);
}

CSettingsDialog::CSettingsDialog(VideoSettings settings, const Platform& platform, QWidget* owner)
    : QDialog(owner), m_platform(platform), m_settings(settings) {
  setWindowTitle(QStringLiteral("Настройка режима \"Видео\""));
  setModal(true);
  // The dialog font: the desktop's sans-serif face at the size the dialog was drawn for.
  QFont dialogFont = QApplication::font();
  dialogFont.setPointSize(kDialogFontPointSize);
  setFont(dialogFont);

  const DialogUnits units(dialogFont);

  auto* frame = new QGroupBox(this);
  frame->setGeometry(units.Rect(1, -2, 177, 90));

  auto* delayLabel = new QLabel(QStringLiteral("Задержка между фразами, в миллисекундах:"), this);
  delayLabel->setGeometry(units.Rect(7, 5, 159, 10));

  const auto makeField = [this, &units](int y) {
    auto* field = new QLineEdit(this);
    field->setGeometry(units.Rect(7, y, 32, 10));
    field->setAlignment(Qt::AlignRight);
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    return field;
  };
  m_delayField = makeField(16);
  m_delayField->setObjectName(QStringLiteral("delay"));

  auto* repeatsLabel = new QLabel(QStringLiteral("Количество повторов каждой фразы:"), this);
  repeatsLabel->setGeometry(units.Rect(7, 31, 158, 10));

  m_repeatsField = makeField(42);
  m_repeatsField->setObjectName(QStringLiteral("repeats"));

  m_okButton = new QPushButton(QStringLiteral("OK"), this);
  m_okButton->setGeometry(units.Rect(122, 72, 50, 12));
  m_okButton->setDefault(true);
  connect(m_okButton, &QPushButton::clicked, this, &CSettingsDialog::OnOk);

  GrowToFit(units, frame, {delayLabel, repeatsLabel});
  ShowValues();
}

// The template's widths were made for a narrower font; a label never cuts its text, the
// dialog grows instead and the OK button keeps its place at the right.
void CSettingsDialog::GrowToFit(const DialogUnits& units, QWidget* frame,
                                std::initializer_list<QLabel*> labels) {
  QSize size = units.Size(180, 90);
  int needed = 0;
  for (QLabel* label : labels) {
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    needed = std::max(needed, label->geometry().right() + 1 + units.X(7));
  }
  if (const int extra = needed - size.width(); extra > 0) {
    size.rwidth() += extra;
    frame->resize(frame->width() + extra, frame->height());
    m_okButton->move(m_okButton->x() + extra, m_okButton->y());
  }
  setFixedSize(size);
}

void CSettingsDialog::ShowValues() {
  m_delayField->setText(QString::number(m_settings.delay));
  m_repeatsField->setText(QString::number(m_settings.repeats));
  m_delayField->setCursorPosition(0);
  m_repeatsField->setCursorPosition(0);
  // No control starts focused: the dialog itself holds the keyboard, so Enter closes it at once
  // (OK is the default button) and Space does nothing.
  setFocusPolicy(Qt::StrongFocus);
  setFocus(Qt::OtherFocusReason);
}

void CSettingsDialog::ReadFields() {
  const auto refuse = [this](QLineEdit* field) {
    if (m_platform.beeper) m_platform.beeper->Beep();
    field->setFocus(Qt::OtherFocusReason);
  };
  // An emptied field counts as 0, as a field without a number does, but it is no mistake.
  const auto read = [](const QLineEdit* field) -> std::optional<uint32_t> {
    if (field->text().isEmpty()) return 0u;
    return ParseUnsignedField(field->text());
  };
  if (const auto delay = read(m_delayField)) {
    m_settings.delay = *delay;
    if (const auto repeats = read(m_repeatsField)) {
      m_settings.repeats = *repeats;
    } else {
      refuse(m_repeatsField);
      m_settings.repeats = 0;
    }
  } else {
    // The repeat field is not read then: the repeats keep their value.
    refuse(m_delayField);
    m_settings.delay = 0;
  }
  m_settings = ClampVideoSettings(m_settings);
}

void CSettingsDialog::OnOk() {
  // Enter pressed in the delay field moves on; the focus that tells is the learner's, not the
  // one a refused field has just taken, or OK could never close the dialog.
  const bool inDelayField = focusWidget() == m_delayField;
  ReadFields();
  m_delayField->setCursorPosition(0);
  if (inDelayField) {
    m_repeatsField->setFocus(Qt::TabFocusReason);
    m_repeatsField->selectAll();
    return;
  }
  done(kResultOk);
}

void CSettingsDialog::reject() {
  ReadFields();
  done(kResultCancel);
}

int RunVideoSettings(CVideo1View& view, QWidget* owner, const Platform& platform) {
  const VideoSettings current{static_cast<uint32_t>(view.m_nPhraseDelay),
                              static_cast<uint32_t>(view.m_nPhraseRepeats)};
  CSettingsDialog dialog(current, platform, owner);
  const int result = ExecDialog(dialog);
  const VideoSettings chosen = dialog.Settings();
  view.m_nPhraseDelay = static_cast<int32_t>(chosen.delay);
  view.m_nPhraseRepeats = static_cast<int32_t>(chosen.repeats);
  if (platform.messages) {
    platform.messages->Show(nullptr, QStringLiteral("Информация"), VideoSettingsReport(chosen));
  }
  return result;
}

}  // namespace verbaro
