#include "app/SyncDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace verbaro {

QStringList MachineRow(const progress::FolderMachine& machine, const QString& ownId) {
  switch (machine.state) {
    case progress::JournalState::Damaged:
      return {QString::fromStdString(machine.file),
              QStringLiteral("файл неполон или повреждён: будет прочитан, когда станет целым")};
    case progress::JournalState::Newer:
      return {QString::fromStdString(machine.file),
              QStringLiteral("записан более новой версией программы и не читается")};
    case progress::JournalState::Whole: break;
  }
  QString name = QString::fromStdString(machine.name);
  if (name.isEmpty()) name = QString::fromStdString(machine.id);
  if (QString::fromStdString(machine.id) == ownId) name += QStringLiteral(" (этот компьютер)");
  const QString when = QDateTime::fromSecsSinceEpoch(machine.writtenAt)
                           .toLocalTime()
                           .toString(QStringLiteral("dd.MM.yyyy HH:mm"));
  return {name, when};
}

SyncDialog::SyncDialog(const QString& folder, const QString& ownId, QWidget* owner)
    : QDialog(owner), m_ownId(ownId) {
  setWindowTitle(QStringLiteral("Синхронизация прогресса"));
  auto* layout = new QVBoxLayout(this);
  auto* about = new QLabel(
      QStringLiteral("Папка, которую Syncthing, Nextcloud, сетевой диск или флешка держат "
                     "одинаковой на всех ваших компьютерах. Каждый компьютер записывает туда "
                     "свои ответы и результаты экзаменов и читает ответы остальных."),
      this);
  about->setWordWrap(true);
  layout->addWidget(about);

  auto* row = new QHBoxLayout;
  m_folder = new QLineEdit(folder, this);
  auto* browse = new QPushButton(QStringLiteral("Обзор..."), this);
  auto* none = new QPushButton(QStringLiteral("Без синхронизации"), this);
  row->addWidget(m_folder, 1);
  row->addWidget(browse);
  row->addWidget(none);
  layout->addLayout(row);

  layout->addWidget(new QLabel(QStringLiteral("Компьютеры в этой папке:"), this));
  m_machines = new QTreeWidget(this);
  m_machines->setHeaderLabels({QStringLiteral("Компьютер"), QStringLiteral("Последняя запись")});
  m_machines->setRootIsDecorated(false);
  m_machines->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  layout->addWidget(m_machines, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, &SyncDialog::Browse);
  connect(none, &QPushButton::clicked, this, [this] {
    m_folder->clear();
    ShowMachines();
  });
  connect(m_folder, &QLineEdit::editingFinished, this, &SyncDialog::ShowMachines);
  resize(560, 320);
  ShowMachines();
}

QString SyncDialog::ChosenFolder() const { return m_folder->text().trimmed(); }

void SyncDialog::ShowMachines() {
  m_machines->clear();
  const QString folder = ChosenFolder();
  if (folder.isEmpty()) return;
  for (const progress::FolderMachine& machine :
       progress::ScanFolder(QFile::encodeName(folder).toStdString())) {
    m_machines->addTopLevelItem(new QTreeWidgetItem(MachineRow(machine, m_ownId)));
  }
}

void SyncDialog::Browse() {
  const QString chosen = QFileDialog::getExistingDirectory(
      this, QStringLiteral("Папка синхронизации прогресса"), ChosenFolder());
  if (chosen.isEmpty()) return;
  m_folder->setText(chosen);
  ShowMachines();
}

}  // namespace verbaro
