#include "app/QtFilterMenu.h"

#include <QAction>
#include <QMenu>

#include "data/FilterKinds.h"
#include "platform/QtText.h"

namespace verbaro {

QString QtFilterMenu::Prompt(int id) {
  if (id == kFirstFilterCommand) return QStringLiteral("Все слова и фразы, по умолчанию");
  if (id == kMissedFilterCommand) {
    return QStringLiteral("Записи с ошибками, на которые ещё не было верного ответа");
  }
  if (id == kDueFilterCommand) return QStringLiteral("Записи, которые пора повторить сегодня");
  if (id == kHardFilterCommand) {
    return QStringLiteral("Самые трудные записи: чаще всего забытые и с ошибками");
  }
  return {};
}

void QtFilterMenu::Fill(const FilterMenuItemList& items) {
  m_menu->clear();
  for (const auto& [id, text] : items) {
    if (id == kFilterSeparator && text.empty()) {
      m_menu->addSeparator();
      continue;
    }
    QAction* item = m_menu->addAction(ToQ(text));
    item->setData(id);
    item->setStatusTip(Prompt(id));
  }
}

}  // namespace verbaro
