#include "lessonimport/DelimitedText.h"

#include <array>

#include "lessonimport/DelimitedRecords.h"
#include "lessonimport/FileMedia.h"
#include "lessonimport/HeadingRow.h"
#include "lessonimport/Languages.h"
#include "lessonimport/MarkupText.h"
#include "lessonimport/SourceFile.h"
#include "lessonimport/TextDecoding.h"
#include "lessonimport/TextFileHeaders.h"

namespace verbaro::lessonimport {
namespace {

// Where the words are: every field except those the headers give to tags, deck, note type and
// identifier. `count` fields in all.
std::vector<size_t> WordFields(const TextFileHeaders& headers, size_t count) {
  std::vector<size_t> fields;
  for (size_t i = 0; i < count; ++i) {
    const size_t number = i + 1;
    if (number == headers.tagsColumn || number == headers.deckColumn ||
        number == headers.notetypeColumn || number == headers.guidColumn)
      continue;
    fields.push_back(i);
  }
  return fields;
}

std::string FieldOr(const TextRecord& record, size_t index) {
  return index < record.fields.size() ? record.fields[index] : std::string();
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\n') ++end;
    if (end > i) words.push_back(text.substr(i, end - i));
    i = end;
  }
  return words;
}

// A cell as text and the recording it names.
MarkupText ReadCell(const std::string& field, bool html) {
  MarkupText cell = html ? ReduceMarkup(field) : ReduceSoundTags(field);
  if (cell.sounds.empty() && IsAudioFileName(cell.text)) {
    cell.sounds.push_back(cell.text);
    cell.text.clear();
  }
  return cell;
}

// The note of one record, or nothing when the record is refused (with its problem) or blank.
std::optional<SourceNote> NoteOf(const TextRecord& record, const TextFileHeaders& headers,
                                 const std::vector<size_t>& fields,
                                 std::vector<std::string>& problems) {
  const std::string place = "строка " + std::to_string(record.line);
  if (record.tooManyFields) {
    problems.push_back(place + ": больше " + std::to_string(kMaxFields) +
                       " полей — это не список слов");
    return std::nullopt;
  }
  if (record.overlong) {
    problems.push_back(place + ": поле длиннее " + DescribeBytes(kMaxCellBytes) +
                       " — это не слово и не фраза");
    return std::nullopt;
  }
  SourceNote note;
  note.place = place;
  bool any = false;
  for (const size_t field : fields) {
    MarkupText cell = ReadCell(FieldOr(record, field), headers.html);
    any |= !cell.text.empty() || !cell.sounds.empty();
    note.cells.push_back(std::move(cell.text));
    note.sounds.push_back(cell.sounds.empty() ? std::string() : std::move(cell.sounds.front()));
  }
  if (!any) return std::nullopt;
  if (headers.tagsColumn > 0) note.tags = Words(FieldOr(record, headers.tagsColumn - 1));
  if (headers.deckColumn > 0) {
    const MarkupText deck = ReduceSoundTags(FieldOr(record, headers.deckColumn - 1));
    if (!deck.text.empty()) note.tags.push_back(deck.text);
  }
  return note;
}

// The column names: Anki's "#columns:" header, else a first row of headings, else numbers.
// Returns true when the first record named the columns (and is no note).
bool NameColumns(const TextFileHeaders& headers, char separator,
                 const std::vector<TextRecord>& records, const std::vector<size_t>& fields,
                 std::vector<SourceColumn>& columns) {
  std::vector<std::string> names;
  bool firstRowNames = false;
  if (headers.columns) {
    const SplitText split = SplitRecords(*headers.columns, 1, separator, 1);
    if (!split.records.empty()) names = split.records.front().fields;
  } else {
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 0; i < records.size() && i <= 200; ++i) {
      rows.emplace_back();
      for (const size_t field : fields)
        rows.back().push_back(ReadCell(FieldOr(records[i], field), headers.html).text);
    }
    firstRowNames = LooksLikeHeadings(rows);
    if (firstRowNames)
      for (const std::string& heading : records.front().fields)
        names.push_back(ReadCell(heading, headers.html).text);
  }
  for (const size_t field : fields) {
    std::string name = field < names.size() ? ReduceSoundTags(names[field]).text : std::string();
    if (name.empty()) name = std::to_string(field + 1);
    // A heading that names a language is the column's language; a number or "Front" gives none.
    std::string language = LanguageOfName(name) == Language::Unknown ? std::string() : name;
    columns.push_back({name, std::move(language), ColumnKind::Text});
  }
  return firstRowNames;
}

// Columns with no name of their own and nothing in any note ("a;b;" ends with one) are dropped.
void DropEmptyColumns(Source& source, const std::vector<size_t>& fields) {
  for (size_t c = source.columns.size(); c-- > 0;) {
    if (source.columns[c].name != std::to_string(fields[c] + 1)) continue;
    bool used = false;
    for (const SourceNote& note : source.notes)
      used |= !note.cells[c].empty() || !note.sounds[c].empty();
    if (used) continue;
    source.columns.erase(source.columns.begin() + static_cast<ptrdiff_t>(c));
    for (SourceNote& note : source.notes) {
      note.cells.erase(note.cells.begin() + static_cast<ptrdiff_t>(c));
      note.sounds.erase(note.sounds.begin() + static_cast<ptrdiff_t>(c));
    }
  }
}

char SeparatorByExtension(const std::filesystem::path& file) {
  const std::string extension = LowerCased(file.extension().string());
  return extension == ".csv" ? ',' : '\t';
}

}  // namespace

bool IsAudioFileName(std::string_view text) {
  constexpr std::array<std::string_view, 7> kExtensions = {".mp3",  ".ogg", ".oga", ".opus",
                                                           ".flac", ".wav", ".m4a"};
  if (text.empty() || text.size() > 1024 || text.find('\n') != std::string_view::npos) return false;
  const std::string lowered = LowerCased(text);
  for (std::string_view extension : kExtensions)
    if (lowered.size() > extension.size() && lowered.ends_with(extension)) return true;
  return false;
}

std::optional<Source> ReadDelimitedText(const std::filesystem::path& file, std::string& error) {
  const std::optional<std::string> bytes = ReadFileWithin(file, kMaxSourceFileBytes, error);
  if (!bytes) return std::nullopt;
  const std::optional<std::string> text = DecodeTextToUtf8(*bytes, error);
  if (!text) return std::nullopt;
  const std::optional<TextFileHeaders> headers = ReadTextFileHeaders(*text, error);
  if (!headers) return std::nullopt;

  const std::string_view body = std::string_view(*text).substr(headers->bodyOffset);
  const char separator =
      headers->separator ? *headers->separator : DetectSeparator(body, SeparatorByExtension(file));
  SplitText split = SplitRecords(body, headers->bodyLine, separator, kMaxSourceNotes + 2);
  if (split.records.size() > kMaxSourceNotes + 1) {  // a row of headings and the notes
    error = "в таблице больше " + std::to_string(kMaxSourceNotes) + " строк — это не список слов";
    return std::nullopt;
  }
  if (split.records.empty() && split.problems.empty()) {
    error = "в таблице нет ни одной строки";
    return std::nullopt;
  }

  Source source;
  source.format = separator == '\t' ? "TSV" : "CSV";
  source.problems = std::move(split.problems);
  size_t fieldCount = 0;
  for (const TextRecord& record : split.records)
    fieldCount = std::max(fieldCount, std::min(record.fields.size(), kMaxFields));
  const std::vector<size_t> fields = WordFields(*headers, fieldCount);
  const bool firstRowNames =
      NameColumns(*headers, separator, split.records, fields, source.columns);

  bool anySound = false;
  for (size_t i = firstRowNames ? 1 : 0; i < split.records.size(); ++i) {
    std::optional<SourceNote> note = NoteOf(split.records[i], *headers, fields, source.problems);
    if (!note) continue;
    for (const std::string& sound : note->sounds) anySound |= !sound.empty();
    source.notes.push_back(std::move(*note));
  }
  DropEmptyColumns(source, fields);
  if (anySound)
    source.media = std::make_unique<FileMedia>(std::filesystem::absolute(file).parent_path());
  return source;
}

}  // namespace verbaro::lessonimport
