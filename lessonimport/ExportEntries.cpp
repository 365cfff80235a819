#include "lessonimport/ExportEntries.h"

#include "data/PlainLessonState.h"
#include "data/Text.h"

namespace verbaro::lessonimport {
namespace {

// The Latin letter without its accent, for the French letters; 0 for anything else.
char PlainLetter(char16_t c) {
  static constexpr std::u16string_view kAccented =
      u"àâäáãåçèéêëìíîïñòóôöõùúûüýÿæœÀÂÄÁÃÅÇÈÉÊËÌÍÎÏÑÒÓÔÖÕÙÚÛÜÝŸÆŒ";
  static constexpr std::string_view kPlain =
      "aaaaaaceeeeiiiinooooouuuuyyaoAAAAAACEEEEIIIINOOOOOUUUUYYAO";
  const size_t at = kAccented.find(c);
  return at == std::u16string_view::npos ? 0 : kPlain[at];
}

}  // namespace

std::optional<std::vector<ExportEntry>> ReadExportEntries(const std::filesystem::path& lesson,
                                                          std::string& error) {
  PlainLessonState state(u"Модуль \"Конспект-1\"");
  state.m_szDataFile = FromUtf8(lesson.string());
  if (!state.LoadWordsData()) {
    error = "урок не прочитан: " + lesson.string();
    for (const PlainLessonState::Message& message : state.Messages())
      error += "; «" + ToUtf8(message.text) + "»";
    return std::nullopt;
  }
  std::vector<ExportEntry> entries;
  entries.reserve(state.m_vWordsData.size());
  for (const WordsData& record : state.m_vWordsData) {
    ExportEntry entry;
    entry.row = static_cast<int>(entries.size()) + 1;
    entry.grammar = ToUtf8(record.wsFrGram);
    entry.number = ToUtf8(record.wsFrNumber);
    entry.word = ToUtf8(record.wsKeyWord);
    entry.info1 = ToUtf8(record.wsInfo1);
    entry.info2 = ToUtf8(record.wsInfo2);
    entry.info3 = ToUtf8(record.wsInfo3);
    for (const std::u16string& translation : record.vwsAltWords)
      entry.translations.push_back(ToUtf8(translation));
    if (!record.vpMp3Word.empty()) entry.recording = record.vpMp3Word[0];
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<std::vector<uint8_t>> ExportEntry::ReadRecording(std::string& error) const {
  std::optional<std::vector<uint8_t>> bytes = recording.Read();
  if (!bytes) error = "звук строки " + std::to_string(row) + " урока не читается";
  return bytes;
}

std::string RecordingFileName(size_t place, size_t placeCount, std::string_view word) {
  std::string number = std::to_string(place);
  const size_t width = std::max<size_t>(4, std::to_string(placeCount).size());
  if (number.size() < width) number.insert(0, width - number.size(), '0');

  std::string name;
  for (const char16_t c : FromUtf8(word)) {
    if (name.size() >= 40) break;
    char plain = 0;
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
        c == u'-')
      plain = static_cast<char>(c);
    else plain = PlainLetter(c);
    if (plain) name += plain;
    else if (!name.empty() && name.back() != '_') name += '_';
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return number + (name.empty() ? "" : "_" + name) + ".mp3";
}

}  // namespace verbaro::lessonimport
