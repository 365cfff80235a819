#include "platform/FileDialogWidth.h"

#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QMimeDatabase>
#include <QRect>
#include <QScreen>
#include <QTreeView>
#include <algorithm>
#include <initializer_list>

namespace verbaro {

namespace {

constexpr int kScreenMargin = 16;    // left free on each side of the work area
constexpr int kNameCharacters = 32;  // the name column keeps room for a long lesson name

int Widest(const QFontMetrics& metrics, std::initializer_list<QString> texts) {
  int widest = 0;
  for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
  // The cell's own margins on both sides, and the header's sort arrow.
  return widest + 3 * metrics.averageCharWidth();
}

// The list of files, where the dialog is Qt's own.
QTreeView* FileList(QFileDialog& dialog) {
  return dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
}

// Resizes the dialog once, as it is shown: its parts have their sizes then, and it is placed
// only after this.
class DialogFitter : public QObject {
 public:
  explicit DialogFitter(QFileDialog& dialog) : QObject(&dialog), m_dialog(dialog) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &m_dialog && event->type() == QEvent::Show) {
      m_dialog.removeEventFilter(this);
      Fit();
    }
    return false;
  }

 private:
  void Fit() {
    QTreeView* list = FileList(m_dialog);
    QScreen* screen = m_dialog.screen();
    if (list == nullptr || screen == nullptr) return;
    const QFontMetrics metrics = list->fontMetrics();
    // The columns' titles may be wider than what they show.
    QHeaderView* header = list->header();
    int titles = 0;
    for (int column = 1; column < header->count(); ++column) {
      titles += header->sectionSizeHint(column);
    }
    const int wanted = std::max(DetailColumnsWidth(metrics), titles) +
                       kNameCharacters * metrics.averageCharWidth();
    const QRect available = screen->availableGeometry();
    const QSize size = FittedDialogSize(m_dialog.size(), list->viewport()->width(), wanted,
                                        available.height() * 2 / 3, available);
    // The dialog then centres itself over its window, within the screen, as it always does.
    m_dialog.resize(size);
  }

  QFileDialog& m_dialog;
};

}  // namespace

int DetailColumnsWidth(const QFontMetrics& metrics) {
  const QLocale locale = QLocale::system();
  const QMimeDatabase mimes;
  const int size = Widest(metrics, {locale.formattedDataSize(1023 * 1024 + 1000),
                                    locale.formattedDataSize(1023LL * 1024 * 1024 + 1000000)});
  const int type =
      Widest(metrics, {mimes.mimeTypeForName(QStringLiteral("application/vnd.sqlite3")).comment(),
                       mimes.mimeTypeForName(QStringLiteral("inode/directory")).comment(),
                       QStringLiteral("Folder")});
  const QDateTime late(QDate(2026, 12, 28), QTime(23, 58, 58));
  const int date = Widest(metrics, {locale.toString(late, QLocale::ShortFormat)});
  return size + type + date;
}

QSize FittedDialogSize(QSize current, int shownList, int wantedList, int minimumHeight,
                       const QRect& available) {
  const int width = current.width() + std::max(0, wantedList - shownList);
  const int height = std::max(current.height(), minimumHeight);
  return {std::min(width, available.width() - 2 * kScreenMargin),
          std::min(height, available.height() - 2 * kScreenMargin)};
}

void FitDetailColumns(QFileDialog& dialog) {
  QTreeView* list = FileList(dialog);
  if (list == nullptr) return;
  QHeaderView* header = list->header();
  // The size, type and date columns as wide as what they show; the name column the rest.
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < header->count(); ++column) {
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  dialog.installEventFilter(new DialogFitter(dialog));
}

}  // namespace verbaro
