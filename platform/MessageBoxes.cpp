#include "platform/MessageBoxes.h"

#include <QMessageBox>

#include "platform/DiagnosticLog.h"
#include "platform/QtText.h"

namespace verbaro {

void MessageBoxes::Show(QWidget* owner, const QString& caption, const QString& text) {
  if (m_pLog) m_pLog->Line(FromQ(caption), u": ", FromQ(text));
  Present(owner, caption, text);
}

void QtMessageBoxes::Present(QWidget* owner, const QString& caption, const QString& text) {
  QMessageBox box(caption == QStringLiteral("Ошибка") ? QMessageBox::Critical
                                                       : QMessageBox::Information,
                  caption, text, QMessageBox::Ok, owner);
  box.exec();
}

std::vector<QString> FakeMessageBoxes::Texts() const {
  std::vector<QString> texts;
  for (const auto& box : shown) texts.push_back(box.text);
  return texts;
}

}  // namespace verbaro
