#pragma once
// «Синхронизация прогресса»: the folder through which progress follows the learner to the other
// machines (or none), and the machines seen in it with when each last wrote.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

#include "data/progress/FolderSync.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace verbaro {

// One line of the list of machines: the machine (this one marked) and when it last wrote, or
// why its file is not read.
QStringList MachineRow(const progress::FolderMachine& machine, const QString& ownId);

class SyncDialog : public QDialog {
  Q_OBJECT

 public:
  SyncDialog(const QString& folder, const QString& ownId, QWidget* owner = nullptr);

  QString ChosenFolder() const;
  QLineEdit* FolderField() const { return m_folder; }
  QTreeWidget* Machines() const { return m_machines; }
  // Lists the machines of the folder in the field.
  void ShowMachines();

 private:
  void Browse();

  QString m_ownId;
  QLineEdit* m_folder = nullptr;
  QTreeWidget* m_machines = nullptr;
};

}  // namespace verbaro
