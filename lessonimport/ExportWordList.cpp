#include "lessonimport/ExportWordList.h"

#include <algorithm>
#include <fstream>

#include "lessonimport/OutputPlace.h"

namespace verbaro::lessonimport {
namespace {

std::string Place(const ExportEntry& entry) {
  return "строка " + std::to_string(entry.row) + " урока («" + entry.word + "»): ";
}

bool HasLineBreakOrTab(std::string_view text) {
  return text.find_first_of("\t\r\n") != std::string_view::npos;
}

bool HasSpaceAtEdge(std::string_view text) {
  return !text.empty() && (text.front() == ' ' || text.back() == ' ');
}

bool WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

WordListCheck CheckWordList(const std::vector<ExportEntry>& entries,
                            const std::string& folderName) {
  WordListCheck check;
  if (HasLineBreakOrTab(folderName) || HasSpaceAtEdge(folderName))
    check.errors.push_back(
        "имя папки звуков «" + folderName +
        "» не может стоять в списке слов (табуляция, перевод строки или пробел по краю)");
  for (const ExportEntry& entry : entries) {
    const std::vector<const std::string*> fields = [&] {
      std::vector<const std::string*> all{&entry.grammar, &entry.number, &entry.word,
                                          &entry.info1,   &entry.info2,  &entry.info3};
      for (const std::string& translation : entry.translations) all.push_back(&translation);
      return all;
    }();
    bool breaks = false, spaces = false;
    for (const std::string* field : fields) {
      breaks = breaks || HasLineBreakOrTab(*field);
      spaces = spaces || HasSpaceAtEdge(*field);
    }
    if (breaks) check.errors.push_back(Place(entry) + "в тексте табуляция или перевод строки");
    if (entry.word.empty()) check.errors.push_back(Place(entry) + "пустое слово");
    if (entry.translations.empty()) check.errors.push_back(Place(entry) + "нет ни одного перевода");
    if (entry.grammar.starts_with('#'))
      check.errors.push_back(Place(entry) +
                             "грамматика начинается с «#»: строка списка стала бы комментарием");
    if (!entry.HasRecording()) check.errors.push_back(Place(entry) + "нет звука");
    if (spaces)
      check.warnings.push_back(Place(entry) + "пробелы по краям текста; сборка урока их отбросит");
  }
  return check;
}

std::string RecordingFolderName(const std::filesystem::path& list) {
  return list.stem().string() + "_mp3";
}

std::string WordListText(const std::vector<ExportEntry>& entries, const std::string& folderName,
                         const std::string& lessonName) {
  // A line break in the lesson's file name would end the comment and start an entry.
  std::string name = lessonName;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  std::string text = "# Урок " + name + ": записей " + std::to_string(entries.size()) +
                     "; звуки в папке " + folderName + "\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const ExportEntry& entry = entries[i];
    for (const std::string* field :
         {&entry.grammar, &entry.number, &entry.word, &entry.info1, &entry.info2, &entry.info3})
      text += *field + '\t';
    for (const std::string& translation : entry.translations) text += translation + '\t';
    text += folderName + '/' + RecordingFileName(i + 1, entries.size(), entry.word) + '\n';
  }
  return text;
}

bool WriteWordList(const std::vector<ExportEntry>& entries, const std::filesystem::path& list,
                   const std::string& lessonName, bool replace, std::string& error) {
  const std::string folderName = RecordingFolderName(list);
  const std::filesystem::path folder = list.parent_path() / folderName;
  OutputPlace listPlace(list, false);
  OutputPlace folderPlace(folder, true);
  if (!listPlace.Create(error) || !folderPlace.Create(error)) return false;
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::optional<std::vector<uint8_t>> bytes = entries[i].ReadRecording(error);
    if (!bytes) return false;
    const std::string name = RecordingFileName(i + 1, entries.size(), entries[i].word);
    if (!WriteBytes(folderPlace.Temporary() / name,
                    {reinterpret_cast<const char*>(bytes->data()), bytes->size()})) {
      error = "не могу записать звук " + (folder / name).string();
      return false;
    }
  }
  if (!WriteBytes(listPlace.Temporary(), WordListText(entries, folderName, lessonName))) {
    error = "не могу записать список слов " + list.string();
    return false;
  }
  // The folder first: a list in place always finds its recordings.
  return folderPlace.Commit(replace, error) && listPlace.Commit(replace, error);
}

}  // namespace verbaro::lessonimport
