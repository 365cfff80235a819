#include "platform/DialogPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace verbaro {

bool DialogsInsideWindow(const QString& platformName, const QString& currentDesktop,
                         const QString& override) {
  if (override == QStringLiteral("window")) return true;
  if (override == QStringLiteral("desktop")) return false;
  if (!platformName.startsWith(QStringLiteral("wayland"))) return false;
  // XDG_CURRENT_DESKTOP is a colon-separated list ("ubuntu:GNOME"); GNOME's own shell is the
  // one that leaves dialogs away from their window.
  const QStringList desktops = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
  return std::any_of(desktops.begin(), desktops.end(), [](const QString& desktop) {
    return desktop.compare(QStringLiteral("GNOME"), Qt::CaseInsensitive) == 0;
  });
}

bool DialogsInsideWindow() {
  return DialogsInsideWindow(QGuiApplication::platformName(),
                             qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                             qEnvironmentVariable("VERBARO_DIALOGS"));
}

QWidget* OwnerWindow(QWidget* owner) {
  if (owner != nullptr) return owner->window();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && qobject_cast<QMainWindow*>(window) != nullptr) return window;
  }
  return nullptr;
}

namespace {

// The widget with the keyboard: the application's, or the one the window gives it to when it
// is active again (a box raised by a repaint before the window was first activated).
QWidget* FocusOf(QWidget* window) {
  QWidget* focus = QApplication::focusWidget();
  return focus != nullptr ? focus : window->focusWidget();
}

// Holds a dialog inside a window: covers the whole window, so that a click outside the dialog
// lands on nothing, and keeps the window's other parts disabled, so that no key reaches them.
class DialogHost : public QWidget {
 public:
  DialogHost(QWidget* window, QDialog& dialog)
      : QWidget(window),
        m_window(window),
        m_dialog(&dialog),
        m_dialogParent(dialog.parentWidget()),
        m_dialogFlags(dialog.windowFlags()),
        m_focusBefore(FocusOf(window)) {
    // Everything the window held so far, an earlier dialog included, waits for this one.
    for (QObject* child : window->children()) {
      auto* part = qobject_cast<QWidget*>(child);
      if (part != nullptr && part != this && !part->isWindow() && part->isEnabled()) {
        part->setEnabled(false);
        m_disabled << part;
      }
    }
    m_frame = new QFrame(this);
    m_frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_frame->setLineWidth(1);
    m_frame->setAutoFillBackground(true);
    m_caption = new QLabel(dialog.windowTitle(), m_frame);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);
    m_caption->setContentsMargins(8, 5, 8, 5);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    QPalette captionColours = m_caption->palette();
    captionColours.setColor(QPalette::Window, captionColours.color(QPalette::Window).darker(112));
    m_caption->setPalette(captionColours);
    auto* layout = new QVBoxLayout(m_frame);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_caption);
    dialog.setParent(m_frame, Qt::Widget);
    layout->addWidget(&dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    window->installEventFilter(this);
    dialog.installEventFilter(this);
    setGeometry(window->rect());
    show();
    raise();
  }

  ~DialogHost() override {
    m_window->removeEventFilter(this);
    if (m_dialog) {
      // The dialog belongs to its caller: it leaves before the host and its frame go.
      m_dialog->removeEventFilter(this);
      m_dialog->hide();
      m_dialog->setParent(m_dialogParent, m_dialogFlags);
    }
    for (const QPointer<QWidget>& part : m_disabled) {
      if (part) part->setEnabled(true);
    }
  }

  // Where the keyboard goes back when the dialog closes.
  QWidget* FocusBefore() const { return m_focusBefore; }

  void Place() {
    m_frame->adjustSize();
    const QSize size = m_frame->size();
    const QRect area = rect();
    const int x = std::max(0, area.center().x() + 1 - size.width() / 2);
    const int y = std::max(0, area.center().y() + 1 - size.height() / 2);
    m_frame->move(x, y);
  }

  void GiveKeys() {
    QWidget* first = m_dialog->focusWidget();
    if (first == nullptr) {
      if (auto* box = qobject_cast<QMessageBox*>(m_dialog)) first = box->defaultButton();
    }
    if (first == nullptr) {
      for (QWidget* child : m_dialog->findChildren<QWidget*>()) {
        if (child->isVisibleTo(m_dialog) && child->isEnabled() &&
            (child->focusPolicy() & Qt::TabFocus)) {
          first = child;
          break;
        }
      }
    }
    if (first == nullptr) {
      m_dialog->setFocusPolicy(Qt::StrongFocus);
      first = m_dialog;
    }
    m_window->activateWindow();
    first->setFocus(Qt::ActiveWindowFocusReason);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_window && event->type() == QEvent::Resize) {
      setGeometry(m_window->rect());
      Place();
    } else if (watched == m_dialog && event->type() == QEvent::Resize) {
      Place();
    } else if (watched == m_dialog && event->type() == QEvent::WindowTitleChange) {
      m_caption->setText(m_dialog->windowTitle());
    }
    return QWidget::eventFilter(watched, event);
  }

 private:
  QWidget* m_window;
  QPointer<QDialog> m_dialog;
  QPointer<QWidget> m_dialogParent;
  Qt::WindowFlags m_dialogFlags;
  QPointer<QWidget> m_focusBefore;
  QList<QPointer<QWidget>> m_disabled;
  QFrame* m_frame = nullptr;
  QLabel* m_caption = nullptr;
};

}  // namespace

bool HoldsDialogInside(const QWidget* window) {
  if (window == nullptr) return false;
  const QObjectList& children = window->children();
  return std::any_of(children.begin(), children.end(), [](const QObject* child) {
    return dynamic_cast<const DialogHost*>(child) != nullptr;
  });
}

namespace {

int ExecInsideWindow(QDialog& dialog, QWidget* window) {
  const QPointer<QDialog> guard = &dialog;
  // Owned by the window, so that it goes with it; deleted here when the dialog has closed.
  const QPointer<DialogHost> host = new DialogHost(window, dialog);
  dialog.setResult(0);
  dialog.show();
  host->Place();
  host->GiveKeys();

  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  QObject::connect(&dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
  // Closing the program ends every loop, this one too; the dialog then counts as cancelled.
  loop.exec(QEventLoop::DialogExec);
  const QPointer<QWidget> focusBefore = host ? host->FocusBefore() : nullptr;
  delete host.data();
  if (!guard) return QDialog::Rejected;
  QWidget* focus = focusBefore;
  if (focus == nullptr || !focus->isVisible() || !focus->isEnabled()) {
    // Nobody had the keys before (a box raised as the window came up): the first part of the
    // window that takes them from the keyboard, as activating the window would choose.
    focus = window->nextInFocusChain();
    while (focus != window &&
           !(focus->isVisible() && focus->isEnabled() && (focus->focusPolicy() & Qt::TabFocus))) {
      focus = focus->nextInFocusChain();
    }
  }
  window->activateWindow();
  focus->setFocus(Qt::ActiveWindowFocusReason);
  return dialog.result();
}

}  // namespace

int ExecDialog(QDialog& dialog) {
  if (DialogsInsideWindow()) {
    QWidget* window = OwnerWindow(dialog.parentWidget());
    if (window != nullptr && window != &dialog && window->isVisible()) {
      return ExecInsideWindow(dialog, window);
    }
  }
  return dialog.exec();
}

}  // namespace verbaro
