#pragma once
// Lesson files for the tests: real SQLite files written into a temporary folder.
#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace verbaro::test {

// A folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

enum class BlobKind { Bytes, Null, Integer, Text };

// One row of FrRuDict. Texts are the columns at positions 2 to 12 (grammar, number, key word,
// three information lines, five translations); nullopt stores NULL.
struct LessonRow {
  std::optional<int64_t> rowid;  // by default the row's place in the list, from 1
  std::array<std::optional<std::u16string>, 11> texts;
  BlobKind blobKind = BlobKind::Bytes;
  std::vector<uint8_t> blob;
};

// A row with up to five translations in positions 8, 9, ... and the given recording.
LessonRow Row(std::u16string gram, std::u16string number, std::u16string key,
              std::initializer_list<std::u16string> translations, std::vector<uint8_t> blob);
// n distinct bytes derived from seed, standing for a recording.
std::vector<uint8_t> Recording(size_t n, uint8_t seed);

// Writes a lesson with the columns id INTEGER, topic TEXT, eleven TEXT columns, Mp3Word BLOB.
void WriteLesson(const std::filesystem::path& file, const std::vector<LessonRow>& rows);
// Makes a database file by running SQL statements.
void WriteDatabase(const std::filesystem::path& file, const std::string& sql);

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);
// How many descriptors of this process have the file open.
int OpenDescriptorCount(const std::filesystem::path& file);

std::u16string PathText(const std::filesystem::path& file);

}  // namespace verbaro::test
