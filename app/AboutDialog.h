#pragma once
// The About dialog ("О программе"): the program's icon, its title with a rights notice, and four
// links (product site, author's site, maker's site, author's e-mail), each showing the address
// it opens. Laid out in dialog units from the dialog font's average character size.
#include <QDialog>
#include <QString>
#include <array>

#include "platform/Platform.h"

class QLabel;
class QPushButton;

namespace verbaro {

class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  // The dialog's result codes, as the Windows button ids.
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;
  // Control ids of the four links, in their order on the dialog.
  static constexpr std::array<int, 4> kLinkIds = {2201, 2202, 2203, 2204};

  explicit CAboutDialog(const Platform& platform, QWidget* owner = nullptr);

  // The addresses of the four links, in the order of kLinkIds.
  static const std::array<QString, 4>& LinkAddresses();
  QLabel* Link(int index) const { return m_links[static_cast<size_t>(index)]; }
  QPushButton* OkButton() const { return m_okButton; }

  // Escape and the close box end the dialog with 2.
  void reject() override;

 private:
  const Platform m_platform;
  std::array<QLabel*, 4> m_links{};
  QPushButton* m_okButton = nullptr;
};

}  // namespace verbaro
