#include "app/ModeTable.h"

namespace verbaro {

const std::array<ModeInfo, 6>& ModeTable() {
  static const std::array<ModeInfo, 6> table = {{
      {700, QStringLiteral("&0-Режим \"Конспект-1\"\tF5"),
       QStringLiteral("Модуль: \"Конспект-1\" (\"Запоминание руками\") (оригинал --> перевод)"),
       QStringLiteral("Конспект-1")},
      {701, QStringLiteral("&3-Режим \"Конспект-2\"\tAlt+F5"),
       QStringLiteral("Модуль: \"Конспект-2\" (\"Запоминание руками\") (перевод --> оригинал)"),
       QStringLiteral("Конспект-2")},
      {702, QStringLiteral("&1-Режим \"Видео-1\"\tF6"),
       QStringLiteral("Модуль: \"Видео-1\" (оригинал --> перевод)"), QStringLiteral("Видео-1")},
      {703, QStringLiteral("&4-Режим \"Видео-2\"\tAlt+F6"),
       QStringLiteral("Модуль: \"Видео-2\" (перевод --> оригинал)"), QStringLiteral("Видео-2")},
      {704, QStringLiteral("&2-Режим \"Экзамен-1\"\tF7"),
       QStringLiteral("Модуль: \"Экзамен-1\" (оригинал --> перевод)"), QStringLiteral("Экзамен-1")},
      {705, QStringLiteral("&5-Режим \"Экзамен-2\"\tAlt+F7"),
       QStringLiteral("Модуль: \"Экзамен-2\" (перевод --> оригинал)"), QStringLiteral("Экзамен-2")},
  }};
  return table;
}

}  // namespace verbaro
