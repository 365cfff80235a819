#include "tools/LessonTool.h"

#include "data/Clock.h"
#include "data/progress/ProgressStore.h"
#include "tools/LessonBuild.h"
#include "tools/LessonCheck.h"
#include "tools/LessonProgressReport.h"

namespace verbaro::lesson {
namespace {

constexpr const char* kUsage =
    "Использование:\n"
    "  verbaro-lesson build СЛОВА.tsv УРОК.db [--replace]\n"
    "      собрать урок из списка слов (UTF-8, столбцы через табуляцию);\n"
    "      --replace разрешает заменить уже существующий файл урока\n"
    "  verbaro-lesson check УРОК.db\n"
    "      проверить, что тренажёр прочитает урок целиком, и показать его фильтры\n"
    "  verbaro-lesson progress УРОК.db [--csv]\n"
    "      показать прогресс по уроку из хранилища учащегося; --csv — журнал ответов\n"
    "  verbaro-lesson import ИСТОЧНИК [-o УРОК.db] [--replace] ...\n"
    "      собрать урок из колоды Anki, словаря KVTML или таблицы CSV/TSV\n"
    "  verbaro-lesson export УРОК.db [--tsv СЛОВА.tsv] [--anki КОЛОДА.apkg] [--replace]\n"
    "      выгрузить урок в список слов с записями или в колоду Anki\n"
    "  (подробнее об импорте и выгрузке: verbaro-lesson import --help)\n";

int Usage(std::ostream& err) {
  err << kUsage;
  return kUsageStatus;
}

}  // namespace

int RunLessonTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.empty()) return Usage(err);
  const std::string& command = arguments[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage;
    return 0;
  }

  std::vector<std::string> paths;
  bool replace = false;
  bool csv = false;
  for (size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == "--replace" && command == "build") {
      replace = true;
    } else if (arguments[i] == "--csv" && command == "progress") {
      csv = true;
    } else if (arguments[i].starts_with("--")) {
      err << "Неизвестный параметр: " << arguments[i] << "\n";
      return Usage(err);
    } else {
      paths.push_back(arguments[i]);
    }
  }

  if (command == "build" && paths.size() == 2)
    return BuildLesson({paths[0], paths[1], replace}, out, err);
  if (command == "check" && paths.size() == 1)
    return PrintCheck(paths[0], CheckLesson(paths[0]), out);
  if (command == "progress" && paths.size() == 1) {
    const SystemClock clock;
    return PrintProgress({paths[0], progress::ProgressStore::DefaultPath(), csv}, clock, out, err);
  }
  if (command != "build" && command != "check" && command != "progress")
    err << "Неизвестная команда: " << command << "\n";
  return Usage(err);
}

}  // namespace verbaro::lesson
