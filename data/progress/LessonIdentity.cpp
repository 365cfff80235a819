#include "data/progress/LessonIdentity.h"

#include <algorithm>
#include <map>

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

// Length first, so that ("ab", "c") and ("a", "bc") differ.
void MixText(uint64_t& hash, const std::u16string& text) {
  Mix(hash, text.size());
  for (const char16_t unit : text) Mix(hash, unit);
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
  Statement& insert = db.Sql(
      "INSERT INTO entries(word, gram, number, occurrence) VALUES(?1, ?2, ?3, ?4)");
  insert.Bind(1, key.word).Bind(2, key.gram).Bind(3, key.number).Bind(4, key.occurrence);
  return insert.Run() ? sqlite3_last_insert_rowid(db.Handle()) : 0;
}

// The known lesson that shares most entries, if it shares more than half of the larger list.
int64_t FindByOverlap(StoreDatabase& db, const std::vector<int64_t>& entryIds) {
  std::map<int64_t, int64_t> shared;
  Statement& lessonsOf = db.Sql("SELECT lesson_id FROM lesson_entries WHERE entry_id = ?1");
  for (const int64_t id : entryIds) {
    if (id == 0) continue;
    lessonsOf.Bind(1, id);
    while (lessonsOf.Step()) ++shared[lessonsOf.Int(0)];
  }
  int64_t best = 0;
  int64_t bestShared = 0;
  Statement& countOf = db.Sql("SELECT entry_count FROM lessons WHERE id = ?1");
  for (const auto& [lessonId, count] : shared) {
    countOf.Bind(1, lessonId);
    if (!countOf.Step()) continue;
    const int64_t larger = std::max<int64_t>(countOf.Int(0), static_cast<int64_t>(entryIds.size()));
    countOf.Reset();
    if (2 * count > larger && count > bestShared) {
      best = lessonId;
      bestShared = count;
    }
  }
  return best;
}

bool RecordEntries(StoreDatabase& db, int64_t lessonId, const std::vector<int64_t>& entryIds) {
  if (!db.Sql("DELETE FROM lesson_entries WHERE lesson_id = ?1").Bind(1, lessonId).Run()) {
    return false;
  }
  Statement& insert =
      db.Sql("INSERT INTO lesson_entries(lesson_id, position, entry_id) VALUES(?1, ?2, ?3)");
  for (size_t i = 0; i < entryIds.size(); ++i) {
    if (!insert.Bind(1, lessonId).Bind(2, static_cast<int64_t>(i)).Bind(3, entryIds[i]).Run()) {
      return false;
    }
  }
  return true;
}

bool RecordOpening(StoreDatabase& db, int64_t lessonId, const std::string& path) {
  return db.Sql(
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
    identity.lessonId = FindByOverlap(db, identity.entryIds);
    return identity;
  }
  const bool written = db.Write([&] {
    for (size_t i = 0; i < keys.size(); ++i) {
      int64_t id = FindEntry(db, keys[i]);
      if (id == 0) id = AddEntry(db, keys[i]);
      if (id == 0) return false;
      identity.entryIds[i] = id;
    }
    int64_t lessonId = FindByOverlap(db, identity.entryIds);
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
