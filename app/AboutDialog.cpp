#include "app/AboutDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "platform/Desktop.h"
#include "platform/DialogUnits.h"

namespace verbaro {

namespace {

// The dialog font: the desktop's sans-serif face at the size the dialog was drawn for.
constexpr int kFontPointSize = 10;
constexpr int kIconPixels = 48;

QString RightsNotice() { return QStringLiteral("© Halvorn (Хальворн)"); }

}  // namespace

const std::array<QString, 4>& CAboutDialog::LinkAddresses() {
  static const std::array<QString, 4> addresses = {
      QStringLiteral("https://verbaro.example.org/"),
      QStringLiteral("https://halvorn.example.org/"),
      QStringLiteral("https://www.example.org/"),
      QStringLiteral("mailto:halvorn@example.org"),
  };
  return addresses;
}

CAboutDialog::CAboutDialog(const Platform& platform, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      m_platform(platform) {
  setWindowTitle(QStringLiteral("О программе"));
  QFont dialogFont = QApplication::font();
  dialogFont.setPointSize(kFontPointSize);
  setFont(dialogFont);
  const DialogUnits units(dialogFont);
  setFixedSize(units.Size(180, 100));

  // The etched frame around the whole dialog (a group box without a title).
  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame->setGeometry(units.Rect(2, -2, 176, 100));

  auto* icon = new QLabel(this);
  // Through QIcon, which takes the version of twice the pixels on a screen at a scale of 2.
  icon->setPixmap(QIcon(QStringLiteral(":/ICON/127/%1").arg(kIconPixels))
                      .pixmap(QSize(kIconPixels, kIconPixels), devicePixelRatioF()));
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  icon->setGeometry(units.Rect(24, 12, 50, 50));

  // First of the controls that take the focus, so the dialog opens with the focus on OK.
  m_okButton = new QPushButton(QStringLiteral("OK"), this);
  m_okButton->setObjectName(QStringLiteral("ok"));
  m_okButton->setDefault(true);
  m_okButton->setGeometry(units.Rect(126, 84, 48, 12));
  connect(m_okButton, &QPushButton::clicked, this, [this] { done(kResultOk); });

  auto* title = new QLabel(this);
  title->setTextFormat(Qt::PlainText);
  title->setText(QStringLiteral("Обучающая программа: «Verbaro, v. 1.00»\n") + RightsNotice());
  title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  title->setWordWrap(true);
  title->setGeometry(units.Rect(60, 8, 100, 50));

  const std::array<QRect, 4> linkRects = {units.Rect(44, 40, 100, 9), units.Rect(44, 50, 120, 9),
                                          units.Rect(44, 60, 132, 9), units.Rect(44, 70, 120, 9)};
  for (size_t i = 0; i < m_links.size(); ++i) {
    const QString& address = LinkAddresses()[i];
    auto* link = new QLabel(this);
    link->setObjectName(QStringLiteral("link%1").arg(kLinkIds[i]));
    link->setTextFormat(Qt::RichText);
    link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                      .arg(address.toHtmlEscaped(), address.toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setFocusPolicy(Qt::TabFocus);
    link->setOpenExternalLinks(false);
    link->setGeometry(linkRects[i]);
    // The address goes to the desktop through the seam; whether it opens is not examined.
    connect(link, &QLabel::linkActivated, this, [this](const QString& href) {
      if (m_platform.urls != nullptr) m_platform.urls->Open(href);
    });
    m_links[i] = link;
  }
  // The title is laid over the links' rows; keep the links on top so they take the clicks.
  for (QLabel* link : m_links) link->raise();
  m_okButton->setFocus();
}

void CAboutDialog::reject() { done(kResultCancel); }

}  // namespace verbaro
