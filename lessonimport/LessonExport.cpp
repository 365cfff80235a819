#include "lessonimport/LessonExport.h"

#include <chrono>

#include "lessonimport/ExportAnki.h"
#include "lessonimport/ExportEntries.h"
#include "lessonimport/ExportWordList.h"
#include "lessonimport/OutputPlace.h"

namespace verbaro::lessonimport {
namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Says on `err` why some output may not be written; true when none may be.
bool RefusesAnyTarget(const ExportRequest& request, std::ostream& err) {
  std::vector<std::string> refusals;
  const auto check = [&](const std::filesystem::path& target, bool folder) {
    if (auto refusal = RefusesTarget(target, folder, request.replace)) refusals.push_back(*refusal);
  };
  if (!request.wordList.empty()) {
    check(request.wordList, false);
    check(request.wordList.parent_path() / RecordingFolderName(request.wordList), true);
  }
  if (!request.ankiPackage.empty()) check(request.ankiPackage, false);
  for (const std::string& refusal : refusals) err << "Экспорт не выполнен: " << refusal << "\n";
  return !refusals.empty();
}

bool ExportWordList(const ExportRequest& request, const std::vector<ExportEntry>& entries,
                    const std::string& lessonName, std::ostream& out, std::ostream& err) {
  const std::string folderName = RecordingFolderName(request.wordList);
  const WordListCheck check = CheckWordList(entries, folderName);
  if (!check.errors.empty()) {
    for (const std::string& problem : check.errors) err << "Ошибка: " << problem << "\n";
    err << "Список слов не записан: записей, которые он не может передать как есть, — "
        << check.errors.size() << ".\n";
    return false;
  }
  for (const std::string& warning : check.warnings) err << "Предупреждение: " << warning << "\n";
  std::string error;
  if (!WriteWordList(entries, request.wordList, lessonName, request.replace, error)) {
    err << "Список слов не записан: " << error << "\n";
    return false;
  }
  out << "Список слов записан: " << request.wordList.string() << " (записей: " << entries.size()
      << "), звуки в папке " << (request.wordList.parent_path() / folderName).string() << "\n";
  return true;
}

bool ExportAnki(const ExportRequest& request, const std::vector<ExportEntry>& entries,
                const std::string& lessonName, std::ostream& out, std::ostream& err) {
  std::string error;
  size_t cards = 0;
  if (!WriteAnkiPackage(entries, request.ankiPackage, lessonName, request.replace, NowMs(), cards,
                        error)) {
    err << "Пакет Anki не записан: " << error << "\n";
    return false;
  }
  out << "Пакет Anki записан: " << request.ankiPackage.string() << " (заметок: " << entries.size()
      << ", карточек: " << cards << ")\n";
  return true;
}

}  // namespace

int ExportLesson(const ExportRequest& request, std::ostream& out, std::ostream& err) {
  if (request.wordList.empty() && request.ankiPackage.empty()) {
    err << "Укажите, куда выгрузить урок: --tsv ФАЙЛ или --anki ПАКЕТ.apkg\n";
    return 1;
  }
  if (RefusesAnyTarget(request, err)) return 1;
  std::string error;
  const std::optional<std::vector<ExportEntry>> entries = ReadExportEntries(request.lesson, error);
  if (!entries) {
    err << "Экспорт не выполнен: " << error << "\n";
    return 1;
  }
  const std::string lessonName = request.lesson.stem().string();
  bool written = true;
  if (!request.wordList.empty())
    written = ExportWordList(request, *entries, lessonName, out, err) && written;
  if (!request.ankiPackage.empty())
    written = ExportAnki(request, *entries, lessonName, out, err) && written;
  return written ? 0 : 1;
}

}  // namespace verbaro::lessonimport
