#include "app/ModeTable.h"

#include "app/Commands.h"

namespace verbaro {

namespace {

ModeInfo Mode(StudyMode mode, const char16_t* menuText, const char16_t* statusText,
              const char16_t* toolTip) {
  return {mode, cmd::ModeCommand(mode), QString::fromUtf16(menuText),
          QString::fromUtf16(statusText), QString::fromUtf16(toolTip)};
}

}  // namespace

const std::array<ModeInfo, kModeCount>& ModeTable() {
  static const std::array<ModeInfo, kModeCount> table = {{
      Mode(StudyMode::Conspect1, u"&0-Режим \"Конспект-1\"",
           u"Модуль: \"Конспект-1\" (\"Запоминание руками\") (оригинал --> перевод)",
           u"Конспект-1"),
      Mode(StudyMode::Conspect2, u"&3-Режим \"Конспект-2\"",
           u"Модуль: \"Конспект-2\" (\"Запоминание руками\") (перевод --> оригинал)",
           u"Конспект-2"),
      Mode(StudyMode::Video1, u"&1-Режим \"Видео-1\"",
           u"Модуль: \"Видео-1\" (оригинал --> перевод)", u"Видео-1"),
      Mode(StudyMode::Video2, u"&4-Режим \"Видео-2\"",
           u"Модуль: \"Видео-2\" (перевод --> оригинал)", u"Видео-2"),
      Mode(StudyMode::Exam1, u"&2-Режим \"Экзамен-1\"",
           u"Модуль: \"Экзамен-1\" (оригинал --> перевод)", u"Экзамен-1"),
      Mode(StudyMode::Exam2, u"&5-Режим \"Экзамен-2\"",
           u"Модуль: \"Экзамен-2\" (перевод --> оригинал)", u"Экзамен-2"),
  }};
  return table;
}

}  // namespace verbaro
