#pragma once
// An Anki collection (the SQLite database inside a package), opened read-only from memory, its
// sorts kept in memory too, so that reading writes nothing to disk: its note types with their
// fields, and its notes in the order they were added. Both schemas are read: the current one with
// `notetypes` and `fields` tables, and the older one that keeps the note types as JSON in
// `col.models`.
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verbaro::lessonimport {

struct AnkiNoteType {
  std::string name;
  std::vector<std::string> fields;  // in their order in a note
  bool cloze = false;
};

struct AnkiNoteRow {
  int64_t typeId = 0;
  std::string_view tags;    // space-separated
  std::string_view fields;  // separated by '\x1f'
};

class AnkiCollection {
 public:
  // Nothing, with `error` set (Russian), when the bytes are not a readable Anki collection.
  static std::unique_ptr<AnkiCollection> Open(std::vector<uint8_t> database, std::string& error);
  ~AnkiCollection();
  AnkiCollection(const AnkiCollection&) = delete;
  AnkiCollection& operator=(const AnkiCollection&) = delete;

  const std::map<int64_t, AnkiNoteType>& NoteTypes() const { return m_noteTypes; }
  // Each note, oldest first; the row's texts live until the callback returns. False, with
  // `error` set, when the database turns out damaged on the way.
  bool ForEachNote(const std::function<void(const AnkiNoteRow&)>& visit, std::string& error) const;

 private:
  AnkiCollection(std::vector<uint8_t> database, sqlite3* db);
  bool ReadNoteTypes(std::string& error);
  bool ReadCurrentNoteTypes(std::string& error);
  bool ReadJsonNoteTypes(std::string& error);
  std::string Damaged() const;

  std::vector<uint8_t> m_database;  // the memory SQLite reads; it outlives the connection
  sqlite3* m_db;
  std::map<int64_t, AnkiNoteType> m_noteTypes;
};

}  // namespace verbaro::lessonimport
