#include "data/progress/MachineIdentity.h"

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <random>

#include "data/progress/StoreDatabase.h"

namespace verbaro::progress {

namespace {

constexpr size_t kIdDigits = 32;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Numbers the rows recorded before the store had an id: answers in their order, then the exam
// results, after the answers.
bool AdoptUnnamedRows(StoreDatabase& db, int64_t origin) {
  return db.Sql("UPDATE answers SET origin = ?1, seq = id WHERE origin = 0")
             .Bind(1, origin)
             .Run() &&
         db.Sql(
               "UPDATE exams SET origin = ?1, seq = id + "
               "(SELECT coalesce(max(seq), 0) FROM answers WHERE origin = ?1) WHERE origin = 0")
             .Bind(1, origin)
             .Run() &&
         db.Sql(
               "UPDATE machines SET last_seq = max(last_seq, "
               "(SELECT coalesce(max(seq), 0) FROM answers WHERE origin = ?1), "
               "(SELECT coalesce(max(seq), 0) FROM exams WHERE origin = ?1)) WHERE origin = ?1")
             .Bind(1, origin)
             .Run();
}

bool MakeOwnMachine(StoreDatabase& db, const std::string& hostName) {
  std::string id = NewMachineId();
  // Another machine's rows may already carry this origin (a chance of one in 2^64, but a
  // collision would merge two machines' answers into one sequence).
  Statement& taken = db.Sql("SELECT 1 FROM machines WHERE origin = ?1");
  while (taken.Bind(1, OriginOf(id)).Step()) {
    taken.Reset();
    id = NewMachineId();
  }
  taken.Reset();
  return db.Sql("UPDATE machines SET own = 1 WHERE own = 2").Run() &&
         db.Sql(
               "INSERT INTO machines(origin, id, name, own, last_seq, written_at) "
               "VALUES(?1, ?2, ?3, 2, 0, 0)")
             .Bind(1, OriginOf(id))
             .Bind(2, std::string_view(id))
             .Bind(3, std::string_view(hostName))
             .Run();
}

}  // namespace

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

std::string NewMachineId() {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::random_device source;
  for (;;) {
    std::string id;
    id.reserve(kIdDigits);
    while (id.size() < kIdDigits) {
      uint32_t bits = source();
      for (int i = 0; i < 8; ++i, bits >>= 4) id.push_back(kDigits[bits & 0xF]);
    }
    if (OriginOf(id) != 0) return id;
  }
}

bool IsMachineId(std::string_view id) {
  if (id.size() != kIdDigits) return false;
  for (const char c : id) {
    if (HexValue(c) < 0) return false;
  }
  return true;
}

int64_t OriginOf(std::string_view id) {
  if (!IsMachineId(id)) return 0;
  uint64_t bits = 0;
  for (size_t i = 0; i < 16; ++i) bits = (bits << 4) | static_cast<uint64_t>(HexValue(id[i]));
  return static_cast<int64_t>(bits);
}

bool EnsureOwnMachine(StoreDatabase& db, const std::string& hostName) {
  Statement& own = db.Sql("SELECT name FROM machines WHERE own = 2");
  const bool known = own.Step();
  if (!known && own.Result() != SQLITE_DONE) return false;
  const std::string name = known ? own.Utf8(0) : std::string();
  own.Reset();
  // An unknown host name says nothing about where the store is.
  const bool copied = known && !hostName.empty() && !name.empty() && name != hostName;
  if (known && !copied) return true;
  if (!MakeOwnMachine(db, hostName)) return false;
  // Rows without an origin are from before the store had ids: only its first id takes them.
  return known || AdoptUnnamedRows(db, sqlite3_last_insert_rowid(db.Handle()));
}

bool NextSequence(StoreDatabase& db, int64_t& origin, int64_t& seq) {
  Statement& next = db.Sql(
      "UPDATE machines SET last_seq = last_seq + 1 WHERE own = 2 RETURNING origin, last_seq");
  if (!next.Step()) {
    next.Reset();
    return false;
  }
  origin = next.Int(0);
  seq = next.Int(1);
  // The statement runs to its end, so that the change is complete.
  while (next.Step()) {
  }
  const bool done = next.Result() == SQLITE_DONE;
  next.Reset();
  return done;
}

}  // namespace verbaro::progress
