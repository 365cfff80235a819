#include "lessonimport/ImportCommand.h"

#include <unistd.h>
#include <csignal>
#include <cstring>

#include "lessonimport/ImportPlan.h"
#include "lessonimport/ImportPreview.h"
#include "lessonimport/ImportRecordings.h"
#include "lessonimport/SourceReaders.h"
#include "lessonwriter/LessonWriter.h"

namespace verbaro::lessonimport {
namespace {

// The unfinished lesson, removed when the import is stopped (the trainer's «Отмена» ends the
// command with SIGTERM). A fixed buffer: the signal handler may not allocate.
char g_unfinished[4096];

extern "C" void RemoveUnfinishedAndExit(int signalNumber) {
  if (g_unfinished[0] != '\0') unlink(g_unfinished);
  _exit(128 + signalNumber);
}

// Removes the unfinished lesson on SIGTERM, SIGINT and SIGHUP while it lives.
class UnfinishedLessonGuard {
 public:
  explicit UnfinishedLessonGuard(const std::filesystem::path& temporary) {
    const std::string path = temporary.string();
    if (path.size() >= sizeof g_unfinished) return;
    std::memcpy(g_unfinished, path.c_str(), path.size() + 1);
    for (const int signalNumber : kSignals) std::signal(signalNumber, RemoveUnfinishedAndExit);
  }
  ~UnfinishedLessonGuard() {
    for (const int signalNumber : kSignals) std::signal(signalNumber, SIG_DFL);
    g_unfinished[0] = '\0';
  }
  UnfinishedLessonGuard(const UnfinishedLessonGuard&) = delete;
  UnfinishedLessonGuard& operator=(const UnfinishedLessonGuard&) = delete;

 private:
  static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
};

bool RefusesTarget(const std::filesystem::path& lesson, bool replace, std::ostream& err) {
  std::error_code code;
  if (std::filesystem::is_directory(lesson, code)) {
    err << "На месте файла урока папка: " << lesson.string() << "\n";
    return true;
  }
  if (std::filesystem::exists(lesson, code) && !replace) {
    err << "Файл урока уже существует: " << lesson.string()
        << "\nЧтобы заменить его, добавьте --replace.\n";
    return true;
  }
  return false;
}

bool WriteLesson(const std::filesystem::path& lesson, bool replace, const std::string& topic,
                 const ImportPlan& plan, const EntryRecordings& recordings, std::ostream& err) {
  lesson::LessonWriter writer(lesson);
  std::string error;
  if (!writer.Open(error)) {
    err << "Урок не записан: " << error << "\n";
    return false;
  }
  const UnfinishedLessonGuard guard(writer.TemporaryPath());
  for (size_t i = 0; i < plan.entries.size(); ++i) {
    const ImportedEntry& entry = plan.entries[i];
    lesson::LessonRow row;
    row.texts = {topic,       entry.grammar, entry.number, entry.word,
                 entry.info1, entry.info2,   entry.info3};
    // Translations the entry lacks are stored as empty texts, never NULL.
    for (int t = 0; t < lesson::kTranslationColumnCount; ++t) {
      const auto at = static_cast<size_t>(t);
      row.Text(lesson::kFirstTranslationColumn + t) =
          at < entry.translations.size() ? entry.translations[at] : std::string();
    }
    row.recording = recordings.mp3[i];
    if (!writer.AddRow(row, error)) {
      err << "Урок не записан: " << error << "\n";
      return false;
    }
  }
  if (!writer.Commit(replace, error)) {
    err << "Урок не записан: " << error << "\n";
    return false;
  }
  return true;
}

void ReportList(const char* title, const std::vector<std::string>& lines, std::ostream& out) {
  if (lines.empty()) return;
  out << title << "\n";
  for (const std::string& line : lines) out << "  " << line << "\n";
}

void Report(const Source& source, const ImportPlan& plan, const EntryRecordings& recordings,
            const std::filesystem::path& lesson, std::ostream& out) {
  std::vector<std::string> skipped = source.problems;
  skipped.insert(skipped.end(), plan.skipped.begin(), plan.skipped.end());
  std::vector<std::string> warnings = plan.warnings;
  warnings.insert(warnings.end(), recordings.warnings.begin(), recordings.warnings.end());

  out << "Урок записан: " << lesson.string() << "\n"
      << "Источник: " << source.format
      << ", заметок: " << source.notes.size() + source.problems.size() << ".\n"
      << "Записей в уроке: " << plan.entries.size()
      << " (объединено одинаковых слов: " << plan.merged << ", пропущено: " << skipped.size()
      << ").\n"
      << "Записи звука: свои — " << recordings.given << ", преобразовано — " << recordings.converted
      << ", озвучено голосом espeak-ng — " << recordings.voiced << ".\n";
  ReportList("Пропущено:", skipped, out);
  ReportList("Предупреждения:", warnings, out);
}

}  // namespace

std::filesystem::path DefaultLessonPath(const std::filesystem::path& source) {
  std::filesystem::path lesson = source;
  return lesson.replace_extension(".db");
}

int ImportSourceAsLesson(const Source& source, const ImportRequest& request, std::ostream& out,
                         std::ostream& err) {
  std::string error;
  const std::optional<ColumnRoles> roles = AssignColumns(source, request.sides, error);
  if (!roles) {
    err << "Урок не записан: " << error << ".\n";
    return 1;
  }
  const ImportPlan plan = PlanEntries(source, *roles);
  if (request.preview) {
    out << PreviewJson(source, *roles, plan);
    return 0;
  }
  const std::filesystem::path lesson =
      request.lesson.empty() ? DefaultLessonPath(request.source) : request.lesson;
  if (RefusesTarget(lesson, request.replace, err)) return 1;
  if (plan.entries.empty()) {
    err << "Урок не записан: в источнике нет ни одной записи, которую можно учить.\n";
    for (const std::string& line : source.problems) err << "  " << line << "\n";
    for (const std::string& line : plan.skipped) err << "  " << line << "\n";
    return 1;
  }

  const auto progress = [&](size_t done, size_t total) {
    if (request.progress) out << "@progress " << done << " " << total << std::endl;
  };
  const EntryRecordings recordings =
      MakeEntryRecordings(plan.entries, source.media.get(), progress);
  if (!recordings.errors.empty()) {
    err << "Урок не записан: не у всех записей есть звук.\n";
    for (const std::string& line : recordings.errors) err << "  " << line << "\n";
    return 1;
  }
  if (!WriteLesson(lesson, request.replace, request.source.stem().string(), plan, recordings, err))
    return 1;
  Report(source, plan, recordings, lesson, out);
  return 0;
}

int ImportLesson(const ImportRequest& request, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<Source> source = ReadSource(request.source, error);
  if (!source) {
    err << "Не могу прочитать " << request.source.string() << ": " << error << "\n";
    return 1;
  }
  return ImportSourceAsLesson(*source, request, out, err);
}

}  // namespace verbaro::lessonimport
