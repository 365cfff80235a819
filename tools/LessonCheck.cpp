#include "tools/LessonCheck.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>
#include <span>

#include "tools/LessonMessages.h"
#include "tools/Mp3Decode.h"
#include "tools/Utf.h"

namespace verbaro::lesson {
namespace {

constexpr int kFirstTextColumn = 2;
constexpr int kLastTextColumn = 12;
constexpr int kFirstTranslationColumn = 8;
constexpr int kGrammarColumn = 2;
constexpr int kNumberColumn = 3;
constexpr int kWordColumn = 4;

std::string Entry(int number) { return "запись " + std::to_string(number) + ": "; }

// The trainer refuses a file of which not even one byte can be read, before SQLite sees it.
bool HasFirstByte(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  char byte = 0;
  return in && in.read(&byte, 1) && in.gcount() == 1;
}

// A database in write-ahead-log mode whose log is folded back into the file holds everything in
// the file; read as immutable, SQLite creates no -wal and -shm files beside it.
bool IsSelfContainedWal(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  char header[20] = {};
  if (!in.read(header, sizeof header)) return false;
  const bool wal = std::memcmp(header, "SQLite format 3", 16) == 0 && header[18] == 2 && header[19] == 2;
  std::error_code code;
  return wal && !std::filesystem::exists(path.string() + "-wal", code);
}

// A file: URI naming the path exactly.
std::string FileUri(const std::filesystem::path& path) {
  const std::string text = std::filesystem::absolute(path).string();
  std::string uri = "file://";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '%' || c == '?' || c == '#' || byte < 0x20) {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0x0F];
    } else {
      uri += c;
    }
  }
  return uri;
}

// Read-only, as the trainer opens lessons: checking never writes to or beside the file.
int OpenReadOnly(const std::filesystem::path& path, sqlite3** db) {
  if (IsSelfContainedWal(path))
    return sqlite3_open_v2((FileUri(path) + "?immutable=1").c_str(), db,
                           SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  return sqlite3_open_v2(path.c_str(), db, SQLITE_OPEN_READONLY, nullptr);
}

bool SameNameIgnoringCase(const char* a, const char* b) {
  return a && b && sqlite3_stricmp(a, b) == 0;
}

// NULL reads as the empty text, as in the trainer.
std::u16string Text16(sqlite3_stmt* statement, int column) {
  const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, column));
  if (!text) return {};
  const int bytes = sqlite3_column_bytes16(statement, column);
  return std::u16string(text, static_cast<size_t>(bytes) / sizeof(char16_t));
}

// Reads the whole table as the trainer does and checks each row's recording. Returns false when
// the trainer would stop before the end.
class TableReader {
 public:
  TableReader(sqlite3* db, CheckReport& report) : db_(db), report_(report) {}

  bool Read(std::vector<EntryText>& entries) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare16_v2(db_, u"SELECT * FROM FrRuDict;", -1, &statement, nullptr) != SQLITE_OK) {
      report_.errors.push_back(std::string("запрос «SELECT * FROM FrRuDict;» не выполняется (нет "
                                           "таблицы FrRuDict или это не база SQLite): ") +
                               sqlite3_errmsg(db_));
      sqlite3_finalize(statement);
      return false;
    }
    const bool whole = CheckColumns(statement) && ReadRows(statement, entries);
    sqlite3_finalize(statement);
    return whole;
  }

 private:
  bool CheckColumns(sqlite3_stmt* statement) {
    const int columns = sqlite3_column_count(statement);
    bool fine = true;
    if (columns <= kLastTextColumn) {
      report_.errors.push_back("в таблице FrRuDict " + std::to_string(columns) +
                               " столбцов, а нужно не меньше 13");
      fine = false;
    }
    for (int i = 0; i < columns; ++i) {
      if (SameNameIgnoringCase(sqlite3_column_name(statement, i), "Mp3Word")) mp3Column_ = i;
    }
    if (mp3Column_ < 0) {
      report_.errors.push_back("в таблице FrRuDict нет столбца Mp3Word");
      fine = false;
    } else if (mp3Column_ >= kFirstTextColumn && mp3Column_ <= kLastTextColumn) {
      report_.errors.push_back("столбец Mp3Word стоит на месте " + std::to_string(mp3Column_) +
                               ", а места 2–12 тренажёр читает как текст");
      fine = false;
    }
    return fine;
  }

  bool ReadRows(sqlite3_stmt* statement, std::vector<EntryText>& entries) {
    bool whole = true;
    int k = 0;
    int result = SQLITE_ROW;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
      ++k;
      EntryText entry;
      entry.entryNumber = k;
      entry.grammar = Text16(statement, kGrammarColumn);
      entry.number = Text16(statement, kNumberColumn);
      entry.word = Text16(statement, kWordColumn);
      for (int column = kFirstTranslationColumn; column <= kLastTextColumn; ++column) {
        std::u16string translation = Text16(statement, column);
        if (!translation.empty()) entry.translations.push_back(std::move(translation));
      }
      if (!CheckRecording(statement, k)) whole = false;
      if (entry.translations.empty())
        report_.errors.push_back(Entry(k) + "нет ни одного перевода, тренажёр не сможет её показать");
      if (entry.word.empty()) report_.warnings.push_back(Entry(k) + "пустое слово");
      entries.push_back(std::move(entry));
    }
    if (result != SQLITE_DONE) {
      report_.errors.push_back("чтение таблицы оборвалось после записи " + std::to_string(k) + ": " +
                               sqlite3_errmsg(db_));
      whole = false;
    }
    return whole;
  }

  // The trainer reads the recording of the k-th row from rowid k; false when it cannot.
  bool CheckRecording(sqlite3_stmt* statement, int k) {
    const int type = sqlite3_column_type(statement, mp3Column_);
    const char* column = sqlite3_column_name(statement, mp3Column_);
    sqlite3_blob* blob = nullptr;
    if (sqlite3_blob_open(db_, "main", "FrRuDict", column, k, 0, &blob) != SQLITE_OK) {
      std::string message = Entry(k);
      if (type == SQLITE_NULL) {
        message += "нет звука (Mp3Word = NULL)";
      } else if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        message += "вместо звука в Mp3Word число";
      } else {
        message += "нет строки с rowid " + std::to_string(k) +
                   " (номера строк должны идти подряд от 1): " + sqlite3_errmsg(db_);
      }
      if (!stopReported_) message += "; здесь тренажёр прекратит чтение урока";
      stopReported_ = true;
      report_.errors.push_back(std::move(message));
      sqlite3_blob_close(blob);
      return false;
    }
    std::vector<uint8_t> bytes;
    try {
      bytes.resize(static_cast<size_t>(sqlite3_blob_bytes(blob)));
    } catch (const std::bad_alloc&) {
      sqlite3_blob_close(blob);
      report_.errors.push_back(Entry(k) + "звук слишком велик, чтобы его прочитать");
      return false;
    }
    const bool read = sqlite3_blob_read(blob, bytes.data(), static_cast<int>(bytes.size()), 0) == SQLITE_OK;
    sqlite3_blob_close(blob);
    if (!read) {
      report_.errors.push_back(Entry(k) + "звук не читается: " + sqlite3_errmsg(db_));
      return false;
    }

    // The k-th row in reading order must be the row with rowid k, or words get others' sounds.
    const auto* inRow = static_cast<const uint8_t*>(sqlite3_column_blob(statement, mp3Column_));
    const auto inRowSize = static_cast<size_t>(sqlite3_column_bytes(statement, mp3Column_));
    if (inRowSize != bytes.size() || (inRowSize > 0 && std::memcmp(inRow, bytes.data(), inRowSize) != 0)) {
      report_.errors.push_back(Entry(k) + "её звук хранится в другой строке: строка с rowid " +
                               std::to_string(k) + " не " + std::to_string(k) +
                               "-я по порядку (номера строк должны идти подряд от 1)");
    }
    if (bytes.empty()) {
      report_.errors.push_back(Entry(k) + "звук пустой (0 байт)");
    } else if (const Mp3Stream stream = DecodeMp3(bytes); !stream.decodable) {
      report_.errors.push_back(Entry(k) + "звук не декодируется как MP3 (" + stream.error + ")");
    }
    return true;
  }

  sqlite3* db_;
  CheckReport& report_;
  int mp3Column_ = -1;
  bool stopReported_ = false;
};

void AddFilterLists(const std::vector<EntryText>& entries, const std::vector<MergeOverflow>& overflows,
                    CheckReport& report) {
  report.filtersKnown = true;
  report.directFilters = CountFilters(entries);
  const bool reversalOverflows = std::any_of(overflows.begin(), overflows.end(),
                                             [](const MergeOverflow& o) { return o.reversed; });
  const std::vector<EntryText> reversed = ReverseEntries(entries);
  if (reversed.empty()) {
    report.warnings.push_back("все записи с грамматикой «~~»: в режимах «Конспект-2», «Видео-2» "
                              "и «Экзамен-2» урок пуст");
  } else if (!reversalOverflows) {
    report.reversedFilters = CountFilters(reversed);
  }
}

}  // namespace

CheckReport CheckLesson(const std::filesystem::path& lesson) {
  CheckReport report;
  if (!HasFirstByte(lesson)) {
    report.errors.push_back("файл не существует, не читается или пуст");
    return report;
  }
  sqlite3* db = nullptr;
  if (OpenReadOnly(lesson, &db) != SQLITE_OK) {
    report.errors.push_back(std::string("файл не открывается как база SQLite: ") + sqlite3_errmsg(db));
    sqlite3_close(db);
    return report;
  }
  std::vector<EntryText> entries;
  const bool whole = TableReader(db, report).Read(entries);
  sqlite3_close(db);

  report.entries = entries.size();
  if (whole && entries.empty()) report.errors.push_back("в таблице FrRuDict нет ни одной записи");
  const std::vector<MergeOverflow> overflows = FindMergeOverflows(entries);
  for (const MergeOverflow& overflow : overflows) report.errors.push_back(DescribeOverflow(overflow, Place::Entry));
  for (const EntryText* entry : FindUnaskableEntries(entries))
    report.warnings.push_back(DescribeUnaskable(*entry, Place::Entry));
  if (whole && !entries.empty()) AddFilterLists(entries, overflows, report);
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
      out << "  " << Utf16ToUtf8(filter.name) << " (" << filter.count << ")\n";
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
