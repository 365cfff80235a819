#pragma once
// Writes a lesson file: table `FrRuDict` with the columns the trainer reads by position
// (entry number, topic, grammar, number, word, three information lines, five translations)
// and the recording in `Mp3Word`; rowids run 1..N in row order.
// Rows go to a temporary file beside the target, which replaces the target only at Commit, so a
// failed build never leaves a half-written lesson behind.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace verbaro::lesson {

struct LessonRow {
  std::string topic;
  std::string grammar;
  std::string number;
  std::string word;
  std::string info1;
  std::string info2;
  std::string info3;
  std::vector<std::string> translations;  // at most five; missing ones are stored as ""
  std::vector<uint8_t> mp3;
};

class LessonWriter {
 public:
  explicit LessonWriter(std::filesystem::path target);
  ~LessonWriter();  // removes the temporary file unless committed
  LessonWriter(const LessonWriter&) = delete;
  LessonWriter& operator=(const LessonWriter&) = delete;

  // Each returns false with `error` (Russian) set on failure.
  bool Open(std::string& error);
  bool AddRow(const LessonRow& row, std::string& error);
  // Moves the finished lesson into place; an existing target is replaced only when asked.
  bool Commit(bool replaceExisting, std::string& error);

 private:
  void Discard();
  std::string SqliteError() const;

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  int rowCount_ = 0;
};

}  // namespace verbaro::lesson
