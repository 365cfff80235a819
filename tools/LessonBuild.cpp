#include "tools/LessonBuild.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "data/Text.h"
#include "data/Typable.h"
#include "lessonwriter/LessonWriter.h"
#include "tools/FrenchSpeech.h"
#include "tools/LessonMessages.h"
#include "tools/LessonRules.h"
#include "tools/Mp3Encode.h"
#include "tools/Mp3Inspect.h"
#include "tools/WordList.h"

namespace verbaro::lesson {
namespace {

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

EntryText ToEntryText(const LessonEntry& entry) {
  EntryText text;
  text.entryNumber = entry.lineNumber;
  text.grammar = FromUtf8(entry.grammar);
  text.number = FromUtf8(entry.number);
  text.word = FromUtf8(entry.word);
  for (const std::string& translation : entry.translations)
    text.translations.push_back(FromUtf8(translation));
  text.info1 = FromUtf8(entry.info1);
  text.info2 = FromUtf8(entry.info2);
  text.info3 = FromUtf8(entry.info3);
  return text;
}

// Given recordings, read and decoded once: line number -> bytes and decoded stream.
struct GivenRecording {
  std::vector<uint8_t> bytes;
  Mp3Stream stream;
};

void LoadGivenRecordings(const WordList& list, std::map<int, GivenRecording>& recordings,
                         std::vector<LineProblem>& problems) {
  for (const LessonEntry& entry : list.entries) {
    if (entry.mp3Path.empty()) continue;
    std::error_code code;
    if (!std::filesystem::is_regular_file(entry.mp3Path, code)) {
      problems.push_back({entry.lineNumber, "файл MP3 не найден: " + entry.mp3Path.string()});
      continue;
    }
    const std::optional<std::string> bytes = ReadFile(entry.mp3Path);
    if (!bytes) {
      problems.push_back({entry.lineNumber, "файл MP3 не читается: " + entry.mp3Path.string()});
      continue;
    }
    GivenRecording recording;
    recording.bytes.assign(bytes->begin(), bytes->end());
    recording.stream = InspectMp3(recording.bytes, /*keepPcm=*/true);
    if (!recording.stream.decodable) {
      problems.push_back({entry.lineNumber, "файл MP3 не декодируется (" + recording.stream.error +
                                                "): " + entry.mp3Path.string()});
      continue;
    }
    recordings.emplace(entry.lineNumber, std::move(recording));
  }
}

// The recording of one entry in the lesson format: a given MP3 as it is when it already has
// that format, re-encoded otherwise; the French voice when none is given.
std::optional<std::vector<uint8_t>> MakeRecording(const LessonEntry& entry,
                                                  const std::map<int, GivenRecording>& given,
                                                  std::string& error) {
  if (const auto it = given.find(entry.lineNumber); it != given.end()) {
    if (IsLessonFormat(it->second.stream)) return it->second.bytes;
    return EncodeLessonMp3(it->second.stream.pcm, error);
  }
  const std::optional<Pcm> speech = SpeakFrench(entry.word, error);
  if (!speech) return std::nullopt;
  return EncodeLessonMp3(*speech, error);
}

// Office suites put typographic apostrophes and no-break spaces into word lists, which no key
// gives: they become the apostrophe and the space. Any other character that the learner could
// not type where a Conspect mode asks for it refuses the line.
void MakeTypable(WordList& list, std::vector<LineProblem>& problems) {
  const auto typable = [](std::string& text) {
    text = ToUtf8(WithTypableApostrophesAndSpaces(FromUtf8(text)));
  };
  for (LessonEntry& entry : list.entries) {
    typable(entry.word);
    for (std::string& translation : entry.translations) typable(translation);
    for (std::string& message : DescribeUntypable(ToEntryText(entry)))
      problems.push_back({entry.lineNumber, std::move(message)});
  }
}

// Says why the lesson file may not be written where asked, or nothing.
bool RefusesTarget(const BuildRequest& request, std::ostream& err) {
  std::error_code code;
  if (std::filesystem::exists(request.lesson, code) && !request.replace) {
    err << "Файл урока уже существует: " << request.lesson.string()
        << "\nЧтобы заменить его, добавьте --replace.\n";
    return true;
  }
  if (std::filesystem::is_directory(request.lesson, code)) {
    err << "На месте файла урока папка: " << request.lesson.string() << "\n";
    return true;
  }
  return false;
}

// Reports every error of the word list, by line, and whether there was any; then the
// warnings of a list that may be written.
bool ReportsErrors(const WordList& list, std::vector<LineProblem> problems, std::ostream& err) {
  std::stable_sort(
      problems.begin(), problems.end(),
      [](const LineProblem& a, const LineProblem& b) { return a.lineNumber < b.lineNumber; });
  std::vector<EntryText> texts;
  for (const LessonEntry& entry : list.entries) texts.push_back(ToEntryText(entry));
  const std::vector<MergeOverflow> overflows = FindMergeOverflows(texts);

  for (const LineProblem& problem : problems) err << "Ошибка: " << FormatProblem(problem) << "\n";
  for (const MergeOverflow& overflow : overflows)
    err << "Ошибка: " << DescribeOverflow(overflow, Place::Line) << "\n";
  const size_t errorCount = problems.size() + overflows.size();
  if (errorCount > 0) {
    err << "Урок не записан: ошибок — " << errorCount << ".\n";
    return true;
  }
  if (list.entries.empty()) {
    err << "В списке слов нет ни одной записи; урок не записан.\n";
    return true;
  }
  for (const EntryText* entry : FindUnaskableEntries(texts))
    err << "Предупреждение: " << DescribeUnaskable(*entry, Place::Line) << "\n";
  for (const InfoGivingAnswer& found : FindInfoGivingAnswers(texts))
    err << "Предупреждение: " << DescribeInfoGivingAnswer(found, Place::Line) << "\n";
  for (const SmallExamGroup& group : FindSmallExamGroups(texts))
    err << "Предупреждение: " << DescribeSmallExamGroup(group, Place::Line) << "\n";
  return false;
}

// Writes every entry with its recording (the given one or the French voice's) and puts the
// lesson in place; counts the entries the voice spoke. False, said on err, when it could not.
bool WriteLesson(const BuildRequest& request, const WordList& list,
                 const std::map<int, GivenRecording>& given, size_t& spoken, std::ostream& err) {
  LessonWriter writer(request.lesson);
  std::string error;
  if (!writer.Open(error)) {
    err << "Урок не записан: " << error << "\n";
    return false;
  }
  const std::string topic = request.wordList.stem().string();
  for (const LessonEntry& entry : list.entries) {
    std::optional<std::vector<uint8_t>> mp3 = MakeRecording(entry, given, error);
    if (!mp3) {
      err << "Урок не записан: строка " << entry.lineNumber << ": " << error << "\n";
      return false;
    }
    if (entry.mp3Path.empty()) ++spoken;
    LessonRow row;
    row.texts = {topic,       entry.grammar, entry.number, entry.word,
                 entry.info1, entry.info2,   entry.info3};
    // Translations the entry lacks are stored as empty texts, never NULL.
    for (int i = 0; i < kTranslationColumnCount; ++i) {
      const auto at = static_cast<size_t>(i);
      row.Text(kFirstTranslationColumn + i) =
          at < entry.translations.size() ? entry.translations[at] : std::string();
    }
    row.recording = *mp3;
    if (!writer.AddRow(row, error)) {
      err << "Урок не записан: " << error << "\n";
      return false;
    }
  }
  if (!writer.Commit(request.replace, error)) {
    err << "Урок не записан: " << error << "\n";
    return false;
  }
  return true;
}

}  // namespace

int BuildLesson(const BuildRequest& request, std::ostream& out, std::ostream& err) {
  if (RefusesTarget(request, err)) return 1;
  const std::optional<std::string> text = ReadFile(request.wordList);
  if (!text) {
    err << "Не могу прочитать список слов: " << request.wordList.string() << "\n";
    return 1;
  }
  WordList list = ParseWordList(*text, request.wordList.parent_path());
  std::vector<LineProblem> problems = list.problems;
  MakeTypable(list, problems);
  std::map<int, GivenRecording> given;
  LoadGivenRecordings(list, given, problems);
  if (ReportsErrors(list, std::move(problems), err)) return 1;

  size_t spoken = 0;
  if (!WriteLesson(request, list, given, spoken, err)) return 1;
  out << "Урок записан: " << request.lesson.string() << "\nЗаписей: " << list.entries.size()
      << ", озвучено французским голосом espeak-ng: " << spoken << ".\n";
  return 0;
}

}  // namespace verbaro::lesson
