#pragma once
// Files the lesson tool tests work on: a scratch folder, small real MP3 recordings and lesson
// databases written row by row, so that each test can break one thing on purpose.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace verbaro::lesson::testing {

// A fresh folder under the system temp folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path Write(const std::string& name, const std::string& bytes) const;
  std::filesystem::path Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

 private:
  std::filesystem::path path_;
};

// A tone of the given length as MP3 at the given rate and channel count (LAME, CBR).
std::vector<uint8_t> ToneMp3(int milliseconds, int rate, int channels);

std::string ReadBytes(const std::filesystem::path& path);
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

// A lesson table built by hand: 13 text columns (positions 0-12) and Mp3Word.
class RawLesson {
 public:
  explicit RawLesson(const std::filesystem::path& path,
                     const std::string& columns =
                         "Nr INTEGER, Topic TEXT, FrGram TEXT, FrNumber TEXT, FrWord TEXT, "
                         "Info1 TEXT, Info2 TEXT, Info3 TEXT, Ru1 TEXT, Ru2 TEXT, Ru3 TEXT, "
                         "Ru4 TEXT, Ru5 TEXT, Mp3Word BLOB");
  ~RawLesson();
  RawLesson(const RawLesson&) = delete;
  RawLesson& operator=(const RawLesson&) = delete;

  // One row with the given rowid, texts for positions 2-4 and 8.. and the recording
  // (an empty vector stores a zero-length blob; `nullBlob` stores NULL).
  void Add(int64_t rowid, const std::string& grammar, const std::string& number,
           const std::string& word, const std::vector<std::string>& translations,
           const std::vector<uint8_t>& mp3, bool nullBlob = false);
  void Execute(const std::string& sql);

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace verbaro::lesson::testing
