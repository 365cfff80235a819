#include "data/progress/LessonIdentity.h"

#include <algorithm>
#include <map>
#include <string>

#include "data/progress/StoreDatabase.h"

namespace verbaro::progress {

namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

void Mix(uint64_t& hash, uint64_t value) {
  for (int i = 0; i < 8; ++i) {
    hash ^= (value >> (8 * i)) & 0xFF;
    hash *= kFnvPrime;
  }
}

// kFnvPrime to the sixth power: the six zero bytes above a code unit, each of which leaves the
// hash multiplied by the prime alone.
constexpr uint64_t kFnvPrimeSixth =
    kFnvPrime * kFnvPrime * kFnvPrime * kFnvPrime * kFnvPrime * kFnvPrime;

// Length first, so that ("ab", "c") and ("a", "bc") differ. Each code unit is mixed as the eight
// bytes of its 64-bit value, as Mix would, with the six zero bytes taken in one multiplication.
void MixText(uint64_t& hash, const std::u16string& text) {
  Mix(hash, text.size());
  for (const char16_t unit : text) {
    hash ^= unit & 0xFF;
    hash *= kFnvPrime;
    hash ^= static_cast<uint64_t>(unit >> 8);
    hash *= kFnvPrime * kFnvPrimeSixth;
  }
}

// The lesson found by its fingerprint, with its entries in order; 0 when none matches.
int64_t FindByFingerprint(StoreDatabase& db, int64_t fingerprint, size_t count,
                          std::vector<int64_t>& entryIds) {
  Statement& find = db.Sql(
      "SELECT id FROM lessons WHERE fingerprint = ?1 AND entry_count = ?2 "
      "ORDER BY open_order DESC LIMIT 1");
  find.Bind(1, fingerprint).Bind(2, static_cast<int64_t>(count));
  if (!find.Step()) return 0;
  const int64_t lessonId = find.Int(0);
  find.Reset();
  Statement& entries =
      db.Sql("SELECT entry_id FROM lesson_entries WHERE lesson_id = ?1 ORDER BY position");
  entries.Bind(1, lessonId);
  entryIds.clear();
  entryIds.reserve(count);
  while (entries.Step()) entryIds.push_back(entries.Int(0));
  return entryIds.size() == count ? lessonId : 0;
}

int64_t FindEntry(StoreDatabase& db, const EntryKey& key) {
  Statement& find = db.Sql(
      "SELECT id FROM entries WHERE word = ?1 AND gram = ?2 AND number = ?3 AND occurrence = ?4");
  find.Bind(1, key.word).Bind(2, key.gram).Bind(3, key.number).Bind(4, key.occurrence);
  const int64_t id = find.Step() ? find.Int(0) : 0;
  find.Reset();
  return id;
}

int64_t AddEntry(StoreDatabase& db, const EntryKey& key) {
  Statement& insert =
      db.Sql("INSERT INTO entries(word, gram, number, occurrence) VALUES(?1, ?2, ?3, ?4)");
  insert.Bind(1, key.word).Bind(2, key.gram).Bind(3, key.number).Bind(4, key.occurrence);
  return insert.Run() ? sqlite3_last_insert_rowid(db.Handle()) : 0;
}

// The known lesson that shares most entries, if it shares more than half of the larger list.
// `shared` lists the entries that other lessons may hold (0 for none), `count` the lesson's size.
int64_t FindByOverlap(StoreDatabase& db, const std::vector<int64_t>& shared, size_t count) {
  std::map<int64_t, int64_t> sharing;
  Statement& lessonsOf = db.Sql("SELECT lesson_id FROM lesson_entries WHERE entry_id = ?1");
  for (const int64_t id : shared) {
    if (id == 0) continue;
    lessonsOf.Bind(1, id);
    while (lessonsOf.Step()) ++sharing[lessonsOf.Int(0)];
  }
  int64_t best = 0;
  int64_t bestShared = 0;
  Statement& countOf = db.Sql("SELECT entry_count FROM lessons WHERE id = ?1");
  for (const auto& [lessonId, together] : sharing) {
    countOf.Bind(1, lessonId);
    if (!countOf.Step()) continue;
    const int64_t larger = std::max<int64_t>(countOf.Int(0), static_cast<int64_t>(count));
    countOf.Reset();
    if (2 * together > larger && together > bestShared) {
      best = lessonId;
      bestShared = together;
    }
  }
  return best;
}

// Gives each key its entry's id, adding the entries the store does not have yet. Returns the ids
// of the entries that were there before (0 for the added ones): only those can belong to another
// lesson. Empty, with `ok` false, when an entry could not be written.
std::vector<int64_t> RegisterEntries(StoreDatabase& db, const std::vector<EntryKey>& keys,
                                     std::vector<int64_t>& entryIds, bool& ok) {
  // An entry already there leaves the insert without a change; only then is it looked up.
  Statement& add = db.Sql(
      "INSERT INTO entries(word, gram, number, occurrence) VALUES(?1, ?2, ?3, ?4) "
      "ON CONFLICT DO NOTHING");
  std::vector<int64_t> existing(keys.size(), 0);
  ok = false;
  for (size_t i = 0; i < keys.size(); ++i) {
    const EntryKey& key = keys[i];
    if (!add.Bind(1, key.word)
             .Bind(2, key.gram)
             .Bind(3, key.number)
             .Bind(4, key.occurrence)
             .Run()) {
      return {};
    }
    if (sqlite3_changes(db.Handle()) > 0) {
      entryIds[i] = sqlite3_last_insert_rowid(db.Handle());
      continue;
    }
    entryIds[i] = existing[i] = FindEntry(db, key);
    if (entryIds[i] == 0) return {};
  }
  ok = true;
  return existing;
}

// While a large lesson is recorded, the pages of the entries, their index and the lesson's entry
// list stay in memory (32 MB at most) instead of being written out and read back again and
// again; the connection's usual cache comes back afterwards, and with it the memory.
class LargeWriteCache {
 public:
  LargeWriteCache(StoreDatabase& db, size_t entries) : m_db(db) {
    if (entries < kLargeLesson) return;
    Statement& current = db.Sql("PRAGMA cache_size");
    if (!current.Step()) return;
    m_previous = current.Int(0);
    current.Reset();
    m_raised = sqlite3_exec(db.Handle(), "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr) ==
               SQLITE_OK;
  }
  ~LargeWriteCache() {
    if (!m_raised) return;
    const std::string restore = "PRAGMA cache_size = " + std::to_string(m_previous);
    sqlite3_exec(m_db.Handle(), restore.c_str(), nullptr, nullptr, nullptr);
  }
  LargeWriteCache(const LargeWriteCache&) = delete;
  LargeWriteCache& operator=(const LargeWriteCache&) = delete;

 private:
  static constexpr size_t kLargeLesson = 5000;
  StoreDatabase& m_db;
  int64_t m_previous = 0;
  bool m_raised = false;
};

// The list in rows of kBatch positions per statement (the statement's own work, not the rows',
// was most of the time of a large lesson), the rest one by one.
constexpr size_t kBatch = 200;

const std::string& BatchInsertSql() {
  static const std::string sql = [] {
    std::string text = "INSERT INTO lesson_entries(lesson_id, position, entry_id) VALUES";
    for (size_t row = 0; row < kBatch; ++row) {
      text += (row == 0 ? "(?1, ?" : ", (?1, ?") + std::to_string(2 + 2 * row) + ", ?" +
              std::to_string(3 + 2 * row) + ")";
    }
    return text;
  }();
  return sql;
}

bool RecordEntries(StoreDatabase& db, int64_t lessonId, const std::vector<int64_t>& entryIds) {
  if (!db.Sql("DELETE FROM lesson_entries WHERE lesson_id = ?1").Bind(1, lessonId).Run()) {
    return false;
  }
  size_t i = 0;
  if (entryIds.size() >= kBatch) {
    Statement& batch = db.Sql(BatchInsertSql());
    for (; i + kBatch <= entryIds.size(); i += kBatch) {
      batch.Bind(1, lessonId);
      for (size_t row = 0; row < kBatch; ++row) {
        const int parameter = static_cast<int>(2 + 2 * row);
        batch.Bind(parameter, static_cast<int64_t>(i + row)).Bind(parameter + 1, entryIds[i + row]);
      }
      if (!batch.Run()) return false;
    }
  }
  Statement& insert =
      db.Sql("INSERT INTO lesson_entries(lesson_id, position, entry_id) VALUES(?1, ?2, ?3)");
  for (; i < entryIds.size(); ++i) {
    if (!insert.Bind(1, lessonId).Bind(2, static_cast<int64_t>(i)).Bind(3, entryIds[i]).Run()) {
      return false;
    }
  }
  return true;
}

bool RecordOpening(StoreDatabase& db, int64_t lessonId, const std::string& path) {
  return db
      .Sql(
          "UPDATE lessons SET path = ?2, opened_at = ?3, "
          "open_order = (SELECT max(open_order) FROM lessons) + 1 WHERE id = ?1")
      .Bind(1, lessonId)
      .Bind(2, path)
      .Bind(3, db.GetClock().NowSeconds())
      .Run();
}

}  // namespace

int64_t LessonFingerprint(const std::vector<EntryKey>& keys) {
  uint64_t hash = kFnvOffset;
  Mix(hash, keys.size());
  for (const EntryKey& key : keys) {
    MixText(hash, key.word);
    MixText(hash, key.gram);
    MixText(hash, key.number);
    Mix(hash, static_cast<uint64_t>(key.occurrence));
  }
  return static_cast<int64_t>(hash);
}

int64_t RecordEntry(StoreDatabase& db, const EntryKey& key) {
  const int64_t id = FindEntry(db, key);
  return id != 0 ? id : AddEntry(db, key);
}

int64_t RecordLessonFromElsewhere(StoreDatabase& db, const std::vector<EntryKey>& keys,
                                  const std::vector<int64_t>& entryIds) {
  const int64_t fingerprint = LessonFingerprint(keys);
  std::vector<int64_t> known;
  if (const int64_t lessonId = FindByFingerprint(db, fingerprint, keys.size(), known);
      lessonId != 0) {
    return lessonId;
  }
  if (!db.Sql("INSERT INTO lessons(fingerprint, entry_count, path, opened_at, open_order) "
              "VALUES(?1, ?2, '', 0, 0)")
           .Bind(1, fingerprint)
           .Bind(2, static_cast<int64_t>(keys.size()))
           .Run()) {
    return 0;
  }
  const int64_t lessonId = sqlite3_last_insert_rowid(db.Handle());
  return RecordEntries(db, lessonId, entryIds) ? lessonId : 0;
}

LessonIdentity IdentifyLesson(StoreDatabase& db, const std::vector<EntryKey>& keys,
                              const std::string& path) {
  LessonIdentity identity;
  identity.entryIds.assign(keys.size(), 0);
  if (!db.CanRead()) return identity;
  const int64_t fingerprint = LessonFingerprint(keys);
  identity.lessonId = FindByFingerprint(db, fingerprint, keys.size(), identity.entryIds);
  if (identity.lessonId != 0) {
    if (db.CanWrite()) db.Write([&] { return RecordOpening(db, identity.lessonId, path); });
    return identity;
  }
  identity.entryIds.assign(keys.size(), 0);
  if (!db.CanWrite()) {
    for (size_t i = 0; i < keys.size(); ++i) identity.entryIds[i] = FindEntry(db, keys[i]);
    identity.lessonId = FindByOverlap(db, identity.entryIds, keys.size());
    return identity;
  }
  const LargeWriteCache cache(db, keys.size());
  const bool written = db.Write([&] {
    bool registered = false;
    const std::vector<int64_t> existing = RegisterEntries(db, keys, identity.entryIds, registered);
    if (!registered) return false;
    int64_t lessonId = FindByOverlap(db, existing, keys.size());
    if (lessonId == 0) {
      if (!db.Sql("INSERT INTO lessons(fingerprint, entry_count, path, opened_at, open_order) "
                  "VALUES(0, 0, '', 0, 0)")
               .Run()) {
        return false;
      }
      lessonId = sqlite3_last_insert_rowid(db.Handle());
    }
    if (!db.Sql("UPDATE lessons SET fingerprint = ?2, entry_count = ?3 WHERE id = ?1")
             .Bind(1, lessonId)
             .Bind(2, fingerprint)
             .Bind(3, static_cast<int64_t>(keys.size()))
             .Run()) {
      return false;
    }
    identity.lessonId = lessonId;
    return RecordEntries(db, lessonId, identity.entryIds) && RecordOpening(db, lessonId, path);
  });
  if (!written) identity = LessonIdentity{0, std::vector<int64_t>(keys.size(), 0)};
  return identity;
}

}  // namespace verbaro::progress
