#include "lessonimport/ImportTool.h"

#include "lessonimport/ImportCommand.h"
#include "lessonimport/LessonExport.h"
#include "tools/LessonTool.h"

namespace verbaro::lessonimport {
namespace {

constexpr const char* kUsage =
    "Использование:\n"
    "  verbaro-lesson import ИСТОЧНИК [-o УРОК.db] [--replace] [--french СТОЛБЕЦ] [--russian "
    "СТОЛБЕЦ]\n"
    "      собрать урок из колоды Anki (.apkg, .colpkg), словаря KVTML (.kvtml) или таблицы\n"
    "      (.csv, .tsv); СТОЛБЕЦ — имя столбца или поля либо его номер с 1;\n"
    "      --preview печатает, что получится (JSON), ничего не записывая;\n"
    "      --progress печатает строки «@progress ГОТОВО ВСЕГО», пока готовятся записи звука\n"
    "  verbaro-lesson export УРОК.db [--tsv СЛОВА.tsv] [--anki КОЛОДА.apkg] [--replace]\n"
    "      выгрузить урок в список слов с папкой записей или в колоду Anki\n";

int Usage(std::ostream& err) {
  err << kUsage;
  return lesson::kUsageStatus;
}

// The value after an option such as "-o", or nothing when it is the last argument.
const std::string* ValueOf(const std::vector<std::string>& arguments, size_t& i) {
  if (i + 1 >= arguments.size()) return nullptr;
  return &arguments[++i];
}

std::optional<int> RunImport(const std::vector<std::string>& arguments, std::ostream& out,
                             std::ostream& err) {
  ImportRequest request;
  std::vector<std::string> paths;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--replace") request.replace = true;
    else if (argument == "--preview") request.preview = true;
    else if (argument == "--progress") request.progress = true;
    else if (argument == "-o" || argument == "--french" || argument == "--russian") {
      const std::string* value = ValueOf(arguments, i);
      if (!value) {
        err << "Нет значения у параметра " << argument << "\n";
        return Usage(err);
      }
      if (argument == "-o") request.lesson = *value;
      else if (argument == "--french") request.sides.french = *value;
      else request.sides.russian = *value;
    } else if (argument.starts_with("-")) {
      err << "Неизвестный параметр: " << argument << "\n";
      return Usage(err);
    } else {
      paths.push_back(argument);
    }
  }
  if (paths.size() != 1) return Usage(err);
  request.source = paths[0];
  return ImportLesson(request, out, err);
}

std::optional<int> RunExport(const std::vector<std::string>& arguments, std::ostream& out,
                             std::ostream& err) {
  ExportRequest request;
  std::vector<std::string> paths;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--replace") request.replace = true;
    else if (argument == "--tsv" || argument == "--anki") {
      const std::string* value = ValueOf(arguments, i);
      if (!value) {
        err << "Нет значения у параметра " << argument << "\n";
        return Usage(err);
      }
      (argument == "--tsv" ? request.wordList : request.ankiPackage) = *value;
    } else if (argument.starts_with("-")) {
      err << "Неизвестный параметр: " << argument << "\n";
      return Usage(err);
    } else {
      paths.push_back(argument);
    }
  }
  if (paths.size() != 1 || (request.wordList.empty() && request.ankiPackage.empty()))
    return Usage(err);
  request.lesson = paths[0];
  return ExportLesson(request, out, err);
}

}  // namespace

std::optional<int> RunImportTool(const std::vector<std::string>& arguments, std::ostream& out,
                                 std::ostream& err) {
  if (arguments.empty()) return std::nullopt;
  if ((arguments[0] == "import" || arguments[0] == "export") && arguments.size() == 2 &&
      (arguments[1] == "--help" || arguments[1] == "-h")) {
    out << kUsage;
    return 0;
  }
  if (arguments[0] == "import") return RunImport(arguments, out, err);
  if (arguments[0] == "export") return RunExport(arguments, out, err);
  return std::nullopt;
}

}  // namespace verbaro::lessonimport
