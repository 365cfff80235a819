#include "LessonFiles.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/Text.h"

namespace verbaro::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "verbaro-data-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

LessonRow Row(std::u16string gram, std::u16string number, std::u16string key,
              std::initializer_list<std::u16string> translations, std::vector<uint8_t> blob) {
  LessonRow row;
  for (auto& text : row.texts) text = std::u16string();
  row.texts[0] = std::move(gram);
  row.texts[1] = std::move(number);
  row.texts[2] = std::move(key);
  size_t position = 6;
  for (const auto& translation : translations) row.texts.at(position++) = translation;
  row.blob = std::move(blob);
  return row;
}

std::vector<uint8_t> Recording(size_t n, uint8_t seed) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}

namespace {

void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE) {
    throw std::runtime_error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "?"));
  }
}

sqlite3* OpenForWriting(const fs::path& file) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(file.string().c_str(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot create " + file.string());
  }
  return db;
}

}  // namespace

void WriteDatabase(const fs::path& file, const std::string& sql) {
  sqlite3* db = OpenForWriting(file);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("sql failed: " + message);
}

void WriteLesson(const fs::path& file, const std::vector<LessonRow>& rows) {
  WriteDatabase(file,
                "CREATE TABLE FrRuDict (id INTEGER, topic TEXT, FrGram TEXT, FrNumber TEXT, "
                "FrWord TEXT, Info1 TEXT, Info2 TEXT, Info3 TEXT, Ru1 TEXT, Ru2 TEXT, Ru3 TEXT, "
                "Ru4 TEXT, Ru5 TEXT, Mp3Word BLOB);");
  sqlite3* db = OpenForWriting(file);
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db,
                           "INSERT INTO FrRuDict (rowid, id, topic, FrGram, FrNumber, FrWord, "
                           "Info1, Info2, Info3, Ru1, Ru2, Ru3, Ru4, Ru5, Mp3Word) VALUES "
                           "(?1, ?1, 'topic', ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13);",
                           -1, &stmt, nullptr),
        db, "prepare insert");
  int64_t nextRowid = 1;
  for (const LessonRow& row : rows) {
    sqlite3_reset(stmt);
    sqlite3_bind_int64(stmt, 1, row.rowid.value_or(nextRowid));
    ++nextRowid;
    for (size_t i = 0; i < row.texts.size(); ++i) {
      const int parameter = static_cast<int>(i) + 2;
      if (row.texts[i]) {
        sqlite3_bind_text16(stmt, parameter, row.texts[i]->c_str(),
                            static_cast<int>(row.texts[i]->size() * sizeof(char16_t)),
                            SQLITE_TRANSIENT);
      } else {
        sqlite3_bind_null(stmt, parameter);
      }
    }
    switch (row.blobKind) {
      case BlobKind::Bytes:
        // A zero-length blob still binds as a BLOB, not as NULL.
        sqlite3_bind_blob(stmt, 13, row.blob.empty() ? "" : static_cast<const void*>(row.blob.data()),
                          static_cast<int>(row.blob.size()), SQLITE_TRANSIENT);
        break;
      case BlobKind::Null:
        sqlite3_bind_null(stmt, 13);
        break;
      case BlobKind::Integer:
        sqlite3_bind_int(stmt, 13, 42);
        break;
      case BlobKind::Text:
        sqlite3_bind_text(stmt, 13, reinterpret_cast<const char*>(row.blob.data()),
                          static_cast<int>(row.blob.size()), SQLITE_TRANSIENT);
        break;
    }
    Check(sqlite3_step(stmt), db, "insert");
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}

std::vector<uint8_t> ReadFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int OpenDescriptorCount(const fs::path& file) {
  const fs::path target = fs::canonical(file);
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const fs::path linked = fs::read_symlink(entry.path(), error);
    if (!error && linked == target) ++count;
  }
  return count;
}

std::u16string PathText(const fs::path& file) { return FromUtf8(file.string()); }

}  // namespace verbaro::test
