#include "lessonimport/AnkiCollection.h"

#include <cstring>

#include "data/Sql.h"
#include "lessonimport/ProtobufReader.h"

namespace verbaro::lessonimport {
namespace {

// A column's bytes as they are stored, without a copy (valid until the next step).
std::string_view ColumnText(const Statement& statement, int column) {
  const void* data = sqlite3_column_blob(statement.Handle(), column);
  const int size = sqlite3_column_bytes(statement.Handle(), column);
  return data == nullptr
             ? std::string_view()
             : std::string_view(static_cast<const char*>(data), static_cast<size_t>(size));
}

// Anki's collation of names: case-insensitive. Its indexes are not used here, but SQLite wants
// every collation the schema names before it runs a statement over that table.
int CompareIgnoringCase(void*, int leftSize, const void* left, int rightSize, const void* right) {
  const auto* a = static_cast<const unsigned char*>(left);
  const auto* b = static_cast<const unsigned char*>(right);
  const int common = leftSize < rightSize ? leftSize : rightSize;
  for (int i = 0; i < common; ++i) {
    const int ca = a[i] >= 'A' && a[i] <= 'Z' ? a[i] + 32 : a[i];
    const int cb = b[i] >= 'A' && b[i] <= 'Z' ? b[i] + 32 : b[i];
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return leftSize == rightSize ? 0 : (leftSize < rightSize ? -1 : 1);
}

// A note type's configuration (a protobuf message) says in its field 1 whether it is a cloze type.
bool IsClozeConfig(std::span<const uint8_t> config) {
  ProtobufReader reader(config);
  ProtobufField field;
  while (reader.Next(field))
    if (field.number == 1 && !field.isBytes) return field.value == 1;
  return false;
}

}  // namespace

AnkiCollection::AnkiCollection(std::vector<uint8_t> database, sqlite3* db)
    : m_database(std::move(database)), m_db(db) {}

AnkiCollection::~AnkiCollection() { sqlite3_close(m_db); }

std::string AnkiCollection::Damaged() const {
  return std::string("коллекция в пакете повреждена или записана не Anki (") +
         sqlite3_errmsg(m_db) + ")";
}

std::unique_ptr<AnkiCollection> AnkiCollection::Open(std::vector<uint8_t> database,
                                                     std::string& error) {
  if (database.size() < 100 || std::memcmp(database.data(), "SQLite format 3", 16) != 0) {
    error = "коллекция в пакете — не база SQLite: файл повреждён";
    return nullptr;
  }
  // A collection saved with a write-ahead log says so in its header; its pages are all in the
  // file that was packed, so it is read as an ordinary database.
  if (database[18] == 2) database[18] = 1;
  if (database[19] == 2) database[19] = 1;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_PRIVATECACHE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    error = "не хватает памяти, чтобы открыть коллекцию";
    return nullptr;
  }
  std::unique_ptr<AnkiCollection> collection(new AnkiCollection(std::move(database), db));
  const auto size = static_cast<sqlite3_int64>(collection->m_database.size());
  if (sqlite3_deserialize(db, "main", collection->m_database.data(), size, size,
                          SQLITE_DESERIALIZE_READONLY) != SQLITE_OK ||
      sqlite3_create_collation(db, "unicase", SQLITE_UTF8, nullptr, CompareIgnoringCase) !=
          SQLITE_OK ||
      sqlite3_exec(db, "PRAGMA query_only = 1; PRAGMA temp_store = MEMORY", nullptr, nullptr,
                   nullptr) != SQLITE_OK) {
    error = collection->Damaged();
    return nullptr;
  }
  if (!collection->ReadNoteTypes(error)) return nullptr;
  return collection;
}

bool AnkiCollection::ReadNoteTypes(std::string& error) {
  Statement hasTable(m_db,
                     "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'notetypes'");
  if (!hasTable.IsValid()) {
    error = Damaged();
    return false;
  }
  const bool current = hasTable.Step();
  if (!current && hasTable.Result() != SQLITE_DONE) {
    error = Damaged();
    return false;
  }
  return current ? ReadCurrentNoteTypes(error) : ReadJsonNoteTypes(error);
}

bool AnkiCollection::ReadCurrentNoteTypes(std::string& error) {
  Statement types(m_db, "SELECT id, name, config FROM notetypes");
  Statement fields(m_db, "SELECT ntid, name FROM fields ORDER BY ntid, ord");
  if (!types.IsValid() || !fields.IsValid()) {
    error = Damaged();
    return false;
  }
  while (types.Step()) {
    AnkiNoteType& type = m_noteTypes[types.Int(0)];
    type.name = ColumnText(types, 1);
    const auto* config = static_cast<const uint8_t*>(sqlite3_column_blob(types.Handle(), 2));
    type.cloze =
        config != nullptr &&
        IsClozeConfig({config, static_cast<size_t>(sqlite3_column_bytes(types.Handle(), 2))});
  }
  if (types.Result() != SQLITE_DONE) {
    error = Damaged();
    return false;
  }
  while (fields.Step()) {
    const auto type = m_noteTypes.find(fields.Int(0));
    if (type != m_noteTypes.end()) type->second.fields.emplace_back(ColumnText(fields, 1));
  }
  if (fields.Result() != SQLITE_DONE) {
    error = Damaged();
    return false;
  }
  return true;
}

bool AnkiCollection::ReadJsonNoteTypes(std::string& error) {
  // One row per field of each note type, in the fields' order.
  Statement fields(m_db,
                   "SELECT CAST(m.key AS INTEGER), json_extract(m.value, '$.name'), "
                   "json_extract(m.value, '$.type'), "
                   "json_extract(f.value, '$.name') "
                   "FROM (SELECT models FROM col LIMIT 1) c, json_each(c.models) m, "
                   "json_each(m.value, '$.flds') f "
                   "ORDER BY 1, json_extract(f.value, '$.ord'), f.key");
  if (!fields.IsValid()) {
    error = Damaged();
    return false;
  }
  while (fields.Step()) {
    AnkiNoteType& type = m_noteTypes[fields.Int(0)];
    type.name = ColumnText(fields, 1);
    type.cloze = fields.Int(2) == 1;
    type.fields.emplace_back(ColumnText(fields, 3));
  }
  if (fields.Result() != SQLITE_DONE) {
    error = Damaged();
    return false;
  }
  return true;
}

bool AnkiCollection::ForEachNote(const std::function<void(const AnkiNoteRow&)>& visit,
                                 std::string& error) const {
  Statement notes(m_db, "SELECT mid, tags, flds FROM notes ORDER BY id");
  if (!notes.IsValid()) {
    error = Damaged();
    return false;
  }
  while (notes.Step()) {
    AnkiNoteRow row;
    row.typeId = notes.Int(0);
    row.tags = ColumnText(notes, 1);
    row.fields = ColumnText(notes, 2);
    visit(row);
  }
  if (notes.Result() != SQLITE_DONE) {
    error = Damaged();
    return false;
  }
  return true;
}

}  // namespace verbaro::lessonimport
