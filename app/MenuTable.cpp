#include "app/MenuTable.h"

#include "app/Accelerators.h"
#include "app/Commands.h"
#include "app/ModeTable.h"

namespace verbaro {

using namespace Qt::StringLiterals;

namespace {

MenuItem Separator() { return {}; }

MenuItem Mode(StudyMode which) {
  const ModeInfo& mode = ModeTable()[static_cast<size_t>(IndexOf(which))];
  return {mode.command, mode.menuText, mode.statusText, mode.toolTip};
}

// An item whose command has keys shows the first of them after a tab ("Ctrl+O"); the second keys
// (Shift+F) stay for the toolbar's tooltips and the manual.
std::vector<Menu> WithShortcuts(std::vector<Menu> menus) {
  for (Menu& menu : menus) {
    for (MenuItem& item : menu.items) {
      const QStringList keys = item.command != 0 ? AcceleratorNames(item.command) : QStringList();
      if (keys.isEmpty()) continue;
      item.text += u'\t';
      item.text += keys.front();
    }
  }
  return menus;
}

std::vector<Menu> MakeMenus() {
  return {
      {u"&0-Файл"_s,
       {
           {cmd::kOpen, u"&0-Открыть..."_s, u"Открыть файл данных"_s, u"Открыть файл"_s},
           {cmd::kForgetProgress, u"&1-Забыть прогресс урока..."_s,
            u"Забыть ответы и расписание повторений урока"_s, u"Забыть прогресс урока"_s},
           {cmd::kImportLesson, u"&2-Импорт урока..."_s,
            u"Создать урок из колоды Anki, словаря KVTML или таблицы CSV"_s, u"Импорт урока"_s},
           Separator(),
           {cmd::kExit, u"&9-Выход"_s, u"Выход из программы"_s, u"Выход"_s},
       }},
      {u"&1-Действия"_s,
       {
           {cmd::kRepeatSound, u"&0-Повторить звук"_s, u"Повтор звука"_s, u"Повтор звука"_s},
           {cmd::kToggleSound, u"&1-Включить/выключить звук"_s, u"Включить/выключить звук"_s, {}},
           {cmd::kToggleHeader,
            u"&2-Показать/скрыть заголовок"_s,
            u"Показать/скрыть заголовок словарной статьи"_s,
            {}},
           {cmd::kToggleTranslations,
            u"&3-Показать/скрыть переводы"_s,
            u"Показать/скрыть переводы словарной статьи"_s,
            {}},
       }},
      {u"&2-Вид"_s,
       {
           {cmd::kToggleToolbar, u"&0-Тулбар"_s, u"Показать либо скрыть тулбар"_s,
            u"Переключатель ToolBar"_s, true},
           {cmd::kToggleStatusBar, u"&1-Статусбар"_s, u"Показать либо скрыть статусбар"_s,
            u"Переключатель StatusBar"_s, true},
       }},
      // The "-1" modes first, then the "-2" modes.
      {u"&3-Модули"_s,
       {Mode(StudyMode::Conspect1), Mode(StudyMode::Video1), Mode(StudyMode::Exam1), Separator(),
        Mode(StudyMode::Conspect2), Mode(StudyMode::Video2), Mode(StudyMode::Exam2)}},
      {u"&4-Фильтры"_s, {}, true},
      {u"&5-Настройки"_s,
       {
           {cmd::kVideoSettings, u"&0-Настройка режима: \"Видео\""_s,
            u"Настройка параметров для режима \"Видео-1\" и \"Видео-2\""_s, u"Параметры видео"_s},
           {cmd::kProgressSync, u"&1-Синхронизация прогресса..."_s,
            u"Папка, через которую прогресс переходит на другие компьютеры"_s,
            u"Синхронизация прогресса"_s},
       }},
      {u"&6-Прогресс"_s,
       {
           {cmd::kLessonStatistics, u"&0-Статистика урока"_s,
            u"Статистика урока: счётчики, календарь занятий, графики, трудные записи"_s,
            u"Статистика урока"_s},
       }},
      {u"&9-Помощь"_s,
       {
           {cmd::kHelp, u"&0-Помощь"_s, u"Диалог \"Помощь\""_s, {}},
           {cmd::kAbout, u"&1-О программе"_s, u"Информация \"О программе\""_s,
            u"Диалог \"О программе\""_s},
       }},
  };
}

}  // namespace

const std::vector<Menu>& MenuTable() {
  static const std::vector<Menu> menus = WithShortcuts(MakeMenus());
  return menus;
}

QString ShortcutText(const MenuItem& item) {
  const qsizetype tab = item.text.indexOf(u'\t');
  return tab < 0 ? QString() : item.text.mid(tab + 1);
}

}  // namespace verbaro
