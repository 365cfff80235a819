#include "tools/LessonCheck.h"

#include <sqlite3.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <new>

#include "data/ExamRules.h"
#include "data/FilterKinds.h"
#include "data/LessonRowTexts.h"
#include "data/LessonTable.h"
#include "data/Mp3Decoder.h"
#include "data/PlainLessonState.h"
#include "data/Sql.h"
#include "data/Text.h"
#include "data/UntrustedDatabase.h"
#include "tools/LessonMessages.h"
#include "tools/LessonRules.h"

namespace verbaro::lesson {
namespace {

std::string Entry(int number) { return "запись " + std::to_string(number) + ": "; }

struct ConnectionCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct BlobCloser {
  void operator()(sqlite3_blob* blob) const { sqlite3_blob_close(blob); }
};

bool SameNameIgnoringCase(const char* a, const char* b) {
  return a && b && sqlite3_stricmp(a, b) == 0;
}

// The entry as the trainer's reading gives its texts.
EntryText EntryOf(int number, LessonRowTexts&& texts) {
  EntryText entry;
  entry.entryNumber = number;
  entry.grammar = std::move(texts.grammar);
  entry.number = std::move(texts.number);
  entry.word = std::move(texts.word);
  entry.info1 = std::move(texts.info1);
  entry.info2 = std::move(texts.info2);
  entry.info3 = std::move(texts.info3);
  entry.translations.assign(std::make_move_iterator(texts.translations.begin()),
                            std::make_move_iterator(texts.translations.end()));
  return entry;
}

// The explaining pass: reads the table row by row over the trainer's hardened connection and
// says why a row stops the trainer's reading (`stops`) and what else a learner would meet
// (`notes`). It decides nothing: whether the lesson loads is the trainer's own reading.
class TableExplainer {
 public:
  TableExplainer(sqlite3* db) : m_db(db) {}

  void Explain() {
    Statement statement(m_db, "SELECT * FROM FrRuDict;");
    if (!statement.IsValid()) {
      stops.push_back(std::string("запрос «SELECT * FROM FrRuDict;» не выполняется (нет таблицы "
                                  "FrRuDict или это не база SQLite): ") +
                      sqlite3_errmsg(m_db));
      return;
    }
    CheckColumns(statement.Handle());
    ReadRows(statement);
  }

  std::vector<std::string> stops;
  std::vector<std::string> notes;
  std::vector<EntryText> entries;

 private:
  void CheckColumns(sqlite3_stmt* statement) {
    const int columns = sqlite3_column_count(statement);
    if (columns <= kLastTextColumn) {
      notes.push_back(
          "в таблице FrRuDict " + std::to_string(columns) +
          " столбцов, а нужно не меньше 13: недостающие тексты тренажёр читает пустыми");
    }
    for (int i = 0; i < columns; ++i) {
      if (SameNameIgnoringCase(sqlite3_column_name(statement, i), kRecordingColumnName))
        m_mp3Column = i;
    }
    if (m_mp3Column < 0) {
      stops.push_back("в таблице FrRuDict нет столбца Mp3Word");
    } else if (m_mp3Column >= kFirstTextColumn && m_mp3Column <= kLastTextColumn) {
      notes.push_back("столбец Mp3Word стоит на месте " + std::to_string(m_mp3Column) +
                      ", а места 2–12 тренажёр читает как текст");
    }
  }

  void ReadRows(Statement& statement) {
    const RowReading reading{StoresTextAsUtf8(m_db)};
    int k = 0;
    while (statement.Step()) {
      ++k;
      // "SELECT *" has every column at its table position; the texts are read as the trainer
      // reads them.
      EntryText entry = EntryOf(k, ReadLessonRowTexts(statement.Handle(), kGrammarColumn, reading));
      if (m_mp3Column >= 0) CheckRecording(statement.Handle(), k);
      if (entry.translations.empty()) notes.push_back(Entry(k) + "нет ни одного перевода");
      if (entry.word.empty()) notes.push_back(Entry(k) + "пустое слово");
      entries.push_back(std::move(entry));
    }
    if (statement.Result() != SQLITE_DONE) {
      stops.push_back("чтение таблицы оборвалось после записи " + std::to_string(k) + ": " +
                      sqlite3_errmsg(m_db));
    }
  }

  // The trainer reads the recording of the k-th row from rowid k.
  void CheckRecording(sqlite3_stmt* statement, int k) {
    const int type = sqlite3_column_type(statement, m_mp3Column);
    const char* column = sqlite3_column_name(statement, m_mp3Column);
    sqlite3_blob* raw = nullptr;
    const int rc = sqlite3_blob_open(m_db, "main", kLessonTableName, column, k, 0, &raw);
    const std::unique_ptr<sqlite3_blob, BlobCloser> blob(raw);
    if (rc != SQLITE_OK) {
      std::string message = Entry(k);
      if (type == SQLITE_NULL) {
        message += "нет звука (Mp3Word = NULL)";
      } else if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        message += "вместо звука в Mp3Word число";
      } else {
        message += "нет строки с rowid " + std::to_string(k) +
                   " (номера строк должны идти подряд от 1): " + sqlite3_errmsg(m_db);
      }
      if (stops.empty()) message += "; здесь тренажёр прекратит чтение урока";
      stops.push_back(std::move(message));
      return;
    }
    std::vector<uint8_t> bytes;
    try {
      bytes.resize(static_cast<size_t>(sqlite3_blob_bytes(blob.get())));
    } catch (const std::bad_alloc&) {
      stops.push_back(Entry(k) + "звук слишком велик, чтобы его прочитать");
      return;
    }
    if (sqlite3_blob_read(blob.get(), bytes.data(), static_cast<int>(bytes.size()), 0) !=
        SQLITE_OK) {
      stops.push_back(Entry(k) + "звук не читается: " + sqlite3_errmsg(m_db));
      return;
    }

    // The k-th row in reading order must be the row with rowid k, or words get others' sounds.
    const auto* inRow = static_cast<const uint8_t*>(sqlite3_column_blob(statement, m_mp3Column));
    const auto inRowSize = static_cast<size_t>(sqlite3_column_bytes(statement, m_mp3Column));
    if (inRowSize != bytes.size() ||
        (inRowSize > 0 && std::memcmp(inRow, bytes.data(), inRowSize) != 0)) {
      notes.push_back(Entry(k) + "её звук хранится в другой строке: строка с rowid " +
                      std::to_string(k) + " не " + std::to_string(k) +
                      "-я по порядку (номера строк должны идти подряд от 1)");
    }
    if (bytes.empty()) {
      notes.push_back(Entry(k) + "звук пустой (0 байт)");
    } else if (DecodeMp3(bytes.data(), bytes.size(), kMaxRecordingPcmBytes).status !=
               DecodedPcm::Status::kOk) {
      notes.push_back(Entry(k) +
                      "звук не декодируется как MP3: тренажёр скажет «Формат звука не "
                      "поддерживается.»");
    }
  }

  sqlite3* m_db;
  int m_mp3Column = -1;
};

// The explaining pass over the file, opened as the trainer opens it.
void Explain(const std::filesystem::path& lesson, bool loadsWhole, CheckReport& report,
             std::vector<EntryText>& entries) {
  const std::string path = lesson.string();
  const std::string header = ReadFileStart(path, kDatabaseHeaderBytes);
  if (header.empty()) {
    report.errors.push_back("файл не существует, не читается, пуст или это не обычный файл");
    return;
  }
  sqlite3* raw = nullptr;
  if (OpenUntrustedDatabase(path, header, &raw) != SQLITE_OK) {
    report.errors.push_back("файл не открывается как база SQLite");
    return;
  }
  const std::unique_ptr<sqlite3, ConnectionCloser> db(raw);
  TableExplainer explainer(db.get());
  explainer.Explain();
  // What stops the explaining pass stops the trainer too; should the two ever differ, the
  // trainer's own reading decides and the explanation is only a warning.
  for (std::string& stop : explainer.stops)
    (loadsWhole ? report.warnings : report.errors).push_back(std::move(stop));
  for (std::string& note : explainer.notes) report.warnings.push_back(std::move(note));
  entries = std::move(explainer.entries);
}

std::string TrainerSays(const PlainLessonState& lesson) {
  std::string said;
  for (const PlainLessonState::Message& message : lesson.Messages()) {
    if (!said.empty()) said += "; ";
    said += "«" + ToUtf8(message.text) + "»";
  }
  return said;
}

std::vector<FilterCount> FiltersOf(const LessonState& lesson) {
  std::vector<FilterCount> filters;
  for (const auto& [name, indexes] : lesson.m_mapUserFilters)
    filters.push_back({name, indexes.size()});
  return filters;
}

// A lesson state of one mode, loaded from the file by the trainer's own reading.
struct ModeLoad {
  ModeLoad(const std::u16string& path, std::u16string modeName) : lesson(std::move(modeName)) {
    lesson.m_szDataFile = path;
  }
  PlainLessonState lesson;
};

// Conspect-1 and Video-1: the lesson read whole, its filters built and the first one selected.
bool LoadDirect(const std::u16string& path, CheckReport& report) {
  ModeLoad mode(path, u"Модуль \"Конспект-1\"");
  LessonState& lesson = mode.lesson;
  const bool whole = lesson.LoadWordsData();
  report.entries = lesson.m_vWordsData.size();
  if (!whole) {
    report.errors.push_back("тренажёр не читает урок целиком: " + TrainerSays(mode.lesson));
    return false;
  }
  if (!lesson.CreateUserFilters() || !lesson.BuildFilterMenu()) {
    report.errors.push_back("в таблице FrRuDict нет ни одной записи");
    return false;
  }
  report.filtersKnown = true;
  report.directFilters = FiltersOf(lesson);
  return true;
}

// Conspect-2 and Video-2: the reversed lesson and its filters.
void LoadReversed(const std::u16string& path, CheckReport& report) {
  ModeLoad mode(path, u"Модуль \"Конспект-2\"");
  LessonState& lesson = mode.lesson;
  lesson.m_bConspectMode = 1;
  lesson.m_bContraVersa = 1;
  if (!lesson.LoadWordsData()) return;
  if (!lesson.BuildContraVersaData()) {
    std::string why = TrainerSays(mode.lesson);
    if (lesson.m_vWordsData.empty()) why = "все записи с грамматикой «~~»";
    report.errors.push_back("в режимах «Конспект-2» и «Видео-2» урок не строится: " + why);
    return;
  }
  report.reversedFilters = FiltersOf(lesson);
}

// Exam-1 (reversed = false) and Exam-2: the exam records prepared from the lesson.
void LoadExam(const std::u16string& path, bool reversed, CheckReport& report) {
  ModeLoad mode(path, reversed ? u"Модуль \"Экзамен-2\"" : u"Модуль \"Экзамен-1\"");
  LessonState& lesson = mode.lesson;
  lesson.m_bExamMode = 1;
  lesson.m_bContraVersa = reversed ? 1 : 0;
  ExamRules rules(lesson, nullptr);
  rules.Reset();
  if (!lesson.LoadWordsData()) return;
  if (!(reversed ? rules.SetAltWordsData() : rules.SetWordsData())) {
    report.errors.push_back(std::string("в режиме «Экзамен-") + (reversed ? "2" : "1") +
                            "» урок не готовится: " + TrainerSays(mode.lesson));
  }
}

}  // namespace

CheckReport CheckLesson(const std::filesystem::path& lesson) {
  CheckReport report;
  const std::u16string path = FromUtf8(lesson.string());
  const bool direct = LoadDirect(path, report);
  const bool loadsWhole = report.errors.empty();
  std::vector<EntryText> entries;
  Explain(lesson, loadsWhole, report, entries);
  if (!direct) return report;

  LoadReversed(path, report);
  LoadExam(path, false, report);
  LoadExam(path, true, report);

  for (const MergeOverflow& overflow : FindMergeOverflows(entries))
    report.warnings.push_back(DescribeOverflow(overflow, Place::Entry));
  for (const EntryText* entry : FindUnaskableEntries(entries))
    report.warnings.push_back(DescribeUnaskable(*entry, Place::Entry));
  for (const InfoGivingAnswer& found : FindInfoGivingAnswers(entries))
    report.warnings.push_back(DescribeInfoGivingAnswer(found, Place::Entry));
  for (const SmallExamGroup& group : FindSmallExamGroups(entries))
    report.warnings.push_back(DescribeSmallExamGroup(group, Place::Entry));
  for (const EntryText& entry : entries) {
    for (const std::string& message : DescribeUntypable(entry))
      report.warnings.push_back(Entry(entry.entryNumber) + message);
  }
  return report;
}

int PrintCheck(const std::filesystem::path& lesson, const CheckReport& report, std::ostream& out) {
  out << "Проверка урока: " << lesson.string() << "\n";
  out << "Записей: " << report.entries << "\n";
  if (!report.errors.empty()) {
    out << "\nОшибки (" << report.errors.size() << "):\n";
    for (const std::string& error : report.errors) out << "  " << error << "\n";
  }
  if (!report.warnings.empty()) {
    out << "\nПредупреждения (" << report.warnings.size() << "):\n";
    for (const std::string& warning : report.warnings) out << "  " << warning << "\n";
  }
  const auto printFilters = [&](const char* title, const std::vector<FilterCount>& filters) {
    out << "\n" << title << "\n";
    if (filters.empty()) out << "  (не строятся)\n";
    for (const FilterCount& filter : filters)
      out << "  " << ToUtf8(WithoutMnemonic(filter.name)) << " (" << filter.count << ")\n";
  };
  if (report.filtersKnown) {
    printFilters("Фильтры режимов «Конспект-1» и «Видео-1»:", report.directFilters);
    printFilters("Фильтры режимов «Конспект-2» и «Видео-2»:", report.reversedFilters);
  }
  if (report.errors.empty()) {
    out << "\nИтог: урок в порядке, тренажёр прочитает его целиком.\n";
    return 0;
  }
  out << "\nИтог: урок с ошибками (" << report.errors.size() << ").\n";
  return 1;
}

}  // namespace verbaro::lesson
