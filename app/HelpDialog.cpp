#include "app/HelpDialog.h"

#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/DialogUnits.h"
#include "platform/MessageBoxes.h"

namespace verbaro {

namespace {

constexpr int kMinWidth = 640;
constexpr int kMinHeight = 480;
// The id of Enter's command (IDOK), the number the "wParam" box shows for it.
constexpr int kEnterCommand = 1;

bool IsEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The one table of the manual has tab-separated columns: one tab stop just past the widest
// first column lines the second column up.
qreal TableTabStop(const QString& text, const QFontMetrics& metrics) {
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab > 0) widest = std::max(widest, metrics.horizontalAdvance(line.left(tab)));
  }
  return widest > 0 ? widest + 2 * metrics.averageCharWidth() : 8 * metrics.averageCharWidth();
}

}  // namespace

QString HelpDialog::HelpText() {
  QFile file(QStringLiteral(":/TEXT/help"));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

HelpDialog::HelpDialog(const Platform& platform, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      m_platform(platform) {
  setWindowTitle(QStringLiteral("Помощь"));
  QFont dialogFont(QStringLiteral("Arial"), 11);
  dialogFont.setStyleHint(QFont::SansSerif);
  setFont(dialogFont);
  const QFontMetrics metrics(dialogFont);

  m_text = new QPlainTextEdit(this);
  m_text->setObjectName(QStringLiteral("help2100"));
  m_text->setReadOnly(true);
  m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette colours = m_text->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    colours.setColor(group, QPalette::Base, QColor(0xFF, 0xFF, 0xF4));
    colours.setColor(group, QPalette::Text, QColor(0x00, 0x00, 0x80));
  }
  m_text->setPalette(colours);
  const QString text = HelpText();
  m_text->setTabStopDistance(TableTabStop(text, metrics));
  m_text->setPlainText(text);
  m_text->document()->setDocumentMargin(8);
  m_text->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_text);

  PlaceOver(owner, DialogUnits(dialogFont));
  PutCaretAtStart();
  m_text->setFocus();
}

void HelpDialog::PlaceOver(QWidget* owner, const DialogUnits& units) {
  const QSize client = owner != nullptr ? owner->rect().size() : QSize(1024, 768);
  const int widthUnits = client.width() * 30 / 100;
  const int heightUnits = client.height() * 32 / 100;
  const int xUnits = widthUnits * 16 / 100;
  const int yUnits = 24;

  QSize size(std::max(units.X(widthUnits), kMinWidth), std::max(units.Y(heightUnits), kMinHeight));
  QScreen* screen = owner != nullptr ? owner->screen() : this->screen();
  const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
  if (available.isValid()) size = size.boundedTo(available.size() - QSize(16, 48));
  setFixedSize(size);

  QPoint place = owner != nullptr ? owner->mapToGlobal(QPoint(0, 0)) : available.topLeft();
  place += QPoint(units.X(xUnits), units.Y(yUnits));
  if (available.isValid()) {
    place.setX(std::clamp(place.x(), available.left(),
                          std::max(available.left(), available.right() - size.width())));
    place.setY(std::clamp(place.y(), available.top(),
                          std::max(available.top(), available.bottom() - size.height())));
  }
  move(place);
}

void HelpDialog::PutCaretAtStart() {
  QTextCursor caret = m_text->textCursor();
  caret.movePosition(QTextCursor::Start);  // moving without KeepAnchor drops any selection
  m_text->setTextCursor(caret);
}

void HelpDialog::ReportCommand(int command) {
  if (m_platform.messages != nullptr) {
    m_platform.messages->Show(this, QStringLiteral("wParam"), QString::number(command));
  }
}

void HelpDialog::reject() { done(kResultClosed); }

bool HelpDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_text) {
    if (event->type() == QEvent::FocusIn) {
      PutCaretAtStart();
    } else if (event->type() == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent*>(event))) {
      ReportCommand(kEnterCommand);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void HelpDialog::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(event)) {
    ReportCommand(kEnterCommand);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace verbaro
