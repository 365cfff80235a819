#pragma once
// What a KVTML 2 vocabulary file (KWordQuiz, Parley) holds that a lesson can use: the languages
// ("identifiers"), the entries with a translation per language, the lessons that group entries
// and the word types given to translations. Everything else in the file is passed over.
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace verbaro::lessonimport {

struct KvtmlIdentifier {
  std::string id;
  std::string name;
  std::string locale;
};

struct KvtmlTranslation {
  std::string text;
  std::string pronunciation;
  std::string comment;
  std::string example;
  std::string sound;  // a URL relative to the file, absolute, or a file:// URL
};

struct KvtmlEntry {
  std::string id;
  std::map<std::string, KvtmlTranslation> translations;  // by identifier id
  bool overlong = false;  // a text over kMaxCellBytes: the entry cannot be taken
  std::vector<std::string> unknownIdentifiers;  // translations into no declared language
};

struct KvtmlDocument {
  std::vector<KvtmlIdentifier> identifiers;
  std::vector<KvtmlEntry> entries;  // in the file's order
  // Entry id -> the names of the lessons that list it.
  std::map<std::string, std::vector<std::string>> lessonsOfEntry;
  // (entry id, identifier id) -> the special word type in force for that translation
  // ("noun/male", "verb"...), inherited from the enclosing word type where a sub-type has none.
  std::map<std::pair<std::string, std::string>, std::string> wordTypes;
};

// Nothing, with `error` set (Russian), when the file is not KVTML 2 or not well-formed.
std::optional<KvtmlDocument> ReadKvtmlDocument(const std::filesystem::path& file,
                                               std::string& error);

}  // namespace verbaro::lessonimport
