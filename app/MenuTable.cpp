#include "app/MenuTable.h"

#include "app/Commands.h"
#include "app/ModeTable.h"

namespace verbaro {

using namespace Qt::StringLiterals;

namespace {

MenuItem Separator() { return {}; }

MenuItem Mode(int index) {
  const ModeInfo& mode = ModeTable()[static_cast<size_t>(index)];
  return {mode.command, mode.menuText, mode.statusText, mode.toolTip};
}

std::vector<Menu> MakeMenus() {
  return {
      {u"&0-Файл"_s,
       {
           {cmd::kOpen, u"&0-Открыть...\tCtrl+O"_s, u"Открыть файл данных"_s,
            u"Открыть файл"_s},
           {cmd::kForgetProgress, u"&1-Забыть прогресс урока..."_s,
            u"Забыть ответы и расписание повторений урока"_s, u"Забыть прогресс урока"_s},
           {cmd::kImportLesson, u"&2-Импорт урока..."_s,
            u"Создать урок из колоды Anki, словаря KVTML или таблицы CSV"_s,
            u"Импорт урока"_s},
           Separator(),
           {cmd::kExit, u"&9-Выход\tAlt+F4"_s, u"Выход из программы"_s, u"Выход"_s},
       }},
      {u"&1-Действия"_s,
       {
           {cmd::kRepeatSound, u"&0-Повторить звук\tF2"_s, u"Повтор звука"_s,
            u"Повтор звука"_s},
           {cmd::kToggleSound, u"&1-Включить/выключить звук\tAlt+F2"_s,
            u"Включить/выключить звук"_s, {}},
           {cmd::kToggleHeader, u"&2-Показать/скрыть заголовок\tF3"_s,
            u"Показать/скрыть заголовок словарной статьи"_s, {}},
           {cmd::kToggleTranslations, u"&3-Показать/скрыть переводы\tAlt+F3"_s,
            u"Показать/скрыть переводы словарной статьи"_s, {}},
       }},
      {u"&2-Вид"_s,
       {
           {cmd::kToggleToolbar, u"&0-Тулбар"_s, u"Показать либо скрыть тулбар"_s,
            u"Переключатель ToolBar"_s, true},
           {cmd::kToggleStatusBar, u"&1-Статусбар"_s, u"Показать либо скрыть статусбар"_s,
            u"Переключатель StatusBar"_s, true},
       }},
      // The "-1" modes first, then the "-2" modes.
      {u"&3-Модули"_s, {Mode(0), Mode(2), Mode(4), Separator(), Mode(1), Mode(3), Mode(5)}},
      {u"&4-Фильтры"_s, {}, true},
      {u"&5-Настройки"_s,
       {
           {cmd::kVideoSettings, u"&0-Настройка режима: \"Видео\"\tF4"_s,
            u"Настройка параметров для режима \"Видео-1\" и \"Видео-2\""_s,
            u"Параметры видео"_s},
           {cmd::kProgressSync, u"&1-Синхронизация прогресса..."_s,
            u"Папка, через которую прогресс переходит на другие компьютеры"_s,
            u"Синхронизация прогресса"_s},
       }},
      {u"&6-Прогресс"_s,
       {
           {cmd::kLessonStatistics, u"&0-Статистика урока\tF8"_s,
            u"Статистика урока: счётчики, календарь занятий, графики, трудные записи"_s,
            u"Статистика урока"_s},
       }},
      {u"&9-Помощь"_s,
       {
           {cmd::kHelp, u"&0-Помощь\tF1"_s, u"Диалог \"Помощь\""_s, {}},
           {cmd::kAbout, u"&1-О программе\tCtrl+A"_s, u"Информация \"О программе\""_s,
            u"Диалог \"О программе\""_s},
       }},
  };
}

}  // namespace

const std::vector<Menu>& MenuTable() {
  static const std::vector<Menu> menus = MakeMenus();
  return menus;
}

QString ShortcutText(const MenuItem& item) {
  const qsizetype tab = item.text.indexOf(u'\t');
  return tab < 0 ? QString() : item.text.mid(tab + 1);
}

}  // namespace verbaro
