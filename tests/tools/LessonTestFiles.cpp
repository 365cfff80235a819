#include "LessonTestFiles.h"

#include <gtest/gtest.h>
#include <lame.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

namespace verbaro::lesson::testing {

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "verbaro-lesson-XXXXXX").string();
  if (!mkdtemp(pattern.data())) ADD_FAILURE() << "cannot make a scratch folder";
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
  const std::filesystem::path path = path_ / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::filesystem::path ScratchFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  return Write(name, std::string(bytes.begin(), bytes.end()));
}

std::vector<uint8_t> ToneMp3(int milliseconds, int rate, int channels) {
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, channels);
  lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_VBR(lame, vbr_off);
  lame_set_brate(lame, 32);
  lame_set_bWriteVbrTag(lame, 0);
  lame_init_params(lame);

  const int frames = rate * milliseconds / 1000;
  std::vector<int16_t> tone(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i)
    tone[static_cast<size_t>(i)] = static_cast<int16_t>(8000 * std::sin(2 * std::numbers::pi * 440 * i / rate));
  std::vector<uint8_t> mp3(static_cast<size_t>(frames + frames / 4 + 7200) * 2);
  int size = lame_encode_buffer(lame, tone.data(), tone.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
  size += lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
  lame_close(lame);
  mp3.resize(static_cast<size_t>(std::max(size, 0)));
  return mp3;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder)) names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

RawLesson::RawLesson(const std::filesystem::path& path, const std::string& columns) {
  EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK);
  Execute("CREATE TABLE FrRuDict (" + columns + ")");
}

RawLesson::~RawLesson() { sqlite3_close(db_); }

void RawLesson::Execute(const std::string& sql) {
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
}

void RawLesson::Add(int64_t rowid, const std::string& grammar, const std::string& number,
                    const std::string& word, const std::vector<std::string>& translations,
                    const std::vector<uint8_t>& mp3, bool nullBlob) {
  sqlite3_stmt* insert = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db_,
                               "INSERT INTO FrRuDict (rowid, Nr, Topic, FrGram, FrNumber, FrWord, Info1, "
                               "Info2, Info3, Ru1, Ru2, Ru3, Ru4, Ru5, Mp3Word) "
                               "VALUES (?, ?, 't', ?, ?, ?, '', '', '', ?, ?, ?, ?, ?, ?)",
                               -1, &insert, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(db_);
  sqlite3_bind_int64(insert, 1, rowid);
  sqlite3_bind_int64(insert, 2, rowid);
  sqlite3_bind_text(insert, 3, grammar.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(insert, 4, number.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(insert, 5, word.c_str(), -1, SQLITE_TRANSIENT);
  for (int i = 0; i < 5; ++i) {
    const std::string text = static_cast<size_t>(i) < translations.size() ? translations[static_cast<size_t>(i)] : "";
    sqlite3_bind_text(insert, 6 + i, text.c_str(), -1, SQLITE_TRANSIENT);
  }
  if (nullBlob) {
    sqlite3_bind_null(insert, 11);
  } else if (mp3.empty()) {
    sqlite3_bind_zeroblob(insert, 11, 0);
  } else {
    sqlite3_bind_blob(insert, 11, mp3.data(), static_cast<int>(mp3.size()), SQLITE_TRANSIENT);
  }
  EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE) << sqlite3_errmsg(db_);
  sqlite3_finalize(insert);
}

}  // namespace verbaro::lesson::testing
