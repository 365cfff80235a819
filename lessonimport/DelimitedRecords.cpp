#include "lessonimport/DelimitedRecords.h"

#include <array>
#include <map>

#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {
namespace {

// Reads one record after another; positions are byte offsets into the text.
class RecordReader {
 public:
  RecordReader(std::string_view text, size_t firstLine, char separator)
      : m_text(text), m_line(firstLine), m_separator(separator) {}

  bool AtEnd() const { return m_position >= m_text.size(); }

  // False when the record's quote is never closed: the position is then the line after the
  // record's first line, and `record` holds nothing of use.
  bool Next(TextRecord& record) {
    record = TextRecord{};
    record.line = m_line;
    const size_t start = m_position;
    std::string field;
    while (true) {
      if (!ReadField(field, record)) {
        RestartAfterLineOf(start, record.line);
        return false;
      }
      AddField(record, std::move(field));
      field.clear();
      if (AtEnd()) return true;
      const char c = m_text[m_position];
      if (c == m_separator) {
        ++m_position;
        if (AtEnd()) {
          AddField(record, {});  // "a;b;" ends with an empty field
          return true;
        }
        continue;
      }
      SkipLineBreak();
      return true;
    }
  }

 private:
  static bool IsBreak(char c) { return c == '\n' || c == '\r'; }

  void SkipLineBreak() {
    if (m_text[m_position] == '\r' && m_position + 1 < m_text.size() &&
        m_text[m_position + 1] == '\n')
      ++m_position;
    ++m_position;
    ++m_line;
  }

  void Append(std::string& field, TextRecord& record, char c) {
    if (field.size() < kMaxCellBytes) field += c;
    else record.overlong = true;
  }

  // The text up to the next of `stops` (or the end), appended within the cell limit.
  void AppendUntil(std::string& field, TextRecord& record, std::string_view stops) {
    size_t end = m_text.find_first_of(stops, m_position);
    if (end == std::string_view::npos) end = m_text.size();
    const size_t room = kMaxCellBytes - std::min(kMaxCellBytes, field.size());
    const size_t length = end - m_position;
    field.append(m_text.substr(m_position, std::min(length, room)));
    if (length > room) record.overlong = true;
    m_position = end;
  }

  static void AddField(TextRecord& record, std::string field) {
    if (record.fields.size() < kMaxFields) record.fields.push_back(std::move(field));
    else record.tooManyFields = true;
  }

  // Up to the separator or line break that ends the field (not consumed).
  bool ReadField(std::string& field, TextRecord& record) {
    const char unquotedStops[] = {m_separator, '\r', '\n'};
    const std::string_view endOfField(unquotedStops, 3);
    if (AtEnd() || m_text[m_position] != '"') {
      AppendUntil(field, record, endOfField);
      return true;
    }
    ++m_position;  // the opening quote
    while (true) {
      AppendUntil(field, record, "\"\r\n");
      if (AtEnd()) return false;
      const char c = m_text[m_position++];
      if (c == '"') {
        if (!AtEnd() && m_text[m_position] == '"') {
          Append(field, record, '"');
          ++m_position;
          continue;
        }
        break;
      }
      // Every line break inside a field becomes '\n'.
      ++m_line;
      if (c == '\r' && !AtEnd() && m_text[m_position] == '\n') ++m_position;
      Append(field, record, '\n');
    }
    // Text after the closing quote belongs to the field, as spreadsheets read it.
    AppendUntil(field, record, endOfField);
    return true;
  }

  void RestartAfterLineOf(size_t start, size_t line) {
    m_position = start;
    m_line = line;
    while (!AtEnd() && !IsBreak(m_text[m_position])) ++m_position;
    if (!AtEnd()) SkipLineBreak();
  }

  std::string_view m_text;
  size_t m_position = 0;
  size_t m_line;
  char m_separator;
};

bool IsBlank(const TextRecord& record) {
  return record.fields.size() == 1 && record.fields[0].empty();
}

}  // namespace

SplitText SplitRecords(std::string_view text, size_t firstLine, char separator, size_t limit) {
  SplitText split;
  RecordReader reader(text, firstLine, separator);
  TextRecord record;
  while (!reader.AtEnd() && split.records.size() < limit) {
    // A quote left open costs one look to the end of the text, and only once: it was left open
    // because every quote after it is doubled, so every later quoted field closes at once.
    if (!reader.Next(record)) {
      split.problems.push_back("строка " + std::to_string(record.line) +
                               ": кавычка открыта и не закрыта до конца файла; строка пропущена");
      continue;
    }
    if (!IsBlank(record)) split.records.push_back(std::move(record));
  }
  return split;
}

char DetectSeparator(std::string_view text, char fallback) {
  constexpr size_t kSample = 100;
  char best = fallback;
  size_t bestScore = 0;
  for (const char separator : std::array<char, 3>{'\t', ';', ','}) {
    const SplitText split = SplitRecords(text, 1, separator, kSample);
    std::map<size_t, size_t> recordsWithCount;
    for (const TextRecord& record : split.records) ++recordsWithCount[record.fields.size()];
    size_t score = 0;
    for (const auto& [count, records] : recordsWithCount)
      if (count >= 2 && records > score) score = records;
    if (score > bestScore) {
      best = separator;
      bestScore = score;
    }
  }
  return best;
}

}  // namespace verbaro::lessonimport
