#include "AnkiTestPackage.h"

#include <sqlite3.h>
#include <zip.h>

#include <memory>
#include <stdexcept>

namespace verbaro::test {
namespace {

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("test package: " + what);
}

void WriteCollection(const std::filesystem::path& file, const TestAnkiPackage& package) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(file.c_str(), &db) == SQLITE_OK, "open collection");
  std::unique_ptr<sqlite3, decltype(&sqlite3_close)> closer(db, sqlite3_close);
  Check(sqlite3_exec(db,
                     "CREATE TABLE col (id integer PRIMARY KEY, models text NOT NULL);"
                     "CREATE TABLE notes (id integer PRIMARY KEY, mid integer NOT NULL, "
                     "tags text NOT NULL, flds text NOT NULL);",
                     nullptr, nullptr, nullptr) == SQLITE_OK,
        "schema");
  sqlite3_stmt* statement = nullptr;
  Check(
      sqlite3_prepare_v2(db, "INSERT INTO col VALUES (1, ?)", -1, &statement, nullptr) == SQLITE_OK,
      "col");
  sqlite3_bind_text(statement, 1, package.models.data(), static_cast<int>(package.models.size()),
                    SQLITE_STATIC);
  Check(sqlite3_step(statement) == SQLITE_DONE, "col row");
  sqlite3_finalize(statement);
  Check(sqlite3_prepare_v2(db, "INSERT INTO notes VALUES (?, ?, ?, ?)", -1, &statement, nullptr) ==
            SQLITE_OK,
        "notes");
  int64_t id = 1000;
  for (const TestAnkiNote& note : package.notes) {
    sqlite3_bind_int64(statement, 1, id++);
    sqlite3_bind_int64(statement, 2, note.typeId);
    sqlite3_bind_text(statement, 3, note.tags.data(), static_cast<int>(note.tags.size()),
                      SQLITE_STATIC);
    // As a blob: the bytes exactly as given, valid UTF-8 or not.
    sqlite3_bind_blob64(statement, 4, note.fields.data(), note.fields.size(), SQLITE_STATIC);
    Check(sqlite3_step(statement) == SQLITE_DONE, "note row");
    sqlite3_reset(statement);
  }
  sqlite3_finalize(statement);
}

void AddMember(zip_t* archive, const std::string& name, const std::string& bytes) {
  zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
  Check(source != nullptr, "source " + name);
  const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
  if (index < 0) zip_source_free(source);
  Check(index >= 0 && zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                               ZIP_CM_STORE, 0) == 0,
        "member " + name);
}

}  // namespace

void WriteTestAnkiPackage(const std::filesystem::path& file, const TestAnkiPackage& package) {
  const std::filesystem::path collection = file.string() + ".collection";
  std::filesystem::remove(collection);
  WriteCollection(collection, package);
  int code = 0;
  zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  Check(archive != nullptr, "zip open");
  zip_source_t* source = zip_source_file(archive, collection.c_str(), 0, -1);
  Check(source != nullptr, "collection source");
  const zip_int64_t index = zip_file_add(archive, "collection.anki2", source, ZIP_FL_OVERWRITE);
  Check(index >= 0 && zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                               ZIP_CM_STORE, 0) == 0,
        "collection member");
  AddMember(archive, "media", package.media);
  for (const auto& [name, bytes] : package.members) AddMember(archive, name, bytes);
  Check(zip_close(archive) == 0, "zip close");
  std::filesystem::remove(collection);
}

}  // namespace verbaro::test
