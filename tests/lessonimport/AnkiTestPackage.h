#pragma once
// Legacy Anki packages written at test time, for what is too big or too odd to keep as a file:
// a collection of the older schema (note types as JSON in `col.models`) zipped with a JSON media
// list and its members.
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace verbaro::test {

struct TestAnkiNote {
  int64_t typeId = 0;
  std::string tags;
  std::string fields;  // separated by '\x1f'
};

struct TestAnkiPackage {
  std::string models;  // the JSON of `col.models`
  std::vector<TestAnkiNote> notes;
  std::string media = "{}";                                  // the JSON media list
  std::vector<std::pair<std::string, std::string>> members;  // other zip members and bytes
};

// Writes the package to `file` (members stored, not deflated); throws on failure.
void WriteTestAnkiPackage(const std::filesystem::path& file, const TestAnkiPackage& package);

}  // namespace verbaro::test
