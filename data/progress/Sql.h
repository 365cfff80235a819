#pragma once
// A thin layer over SQLite for the progress store: prepared statements that reset themselves,
// typed binding and reading.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace verbaro::progress {

struct StatementFinalizer {
  void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};

// One prepared statement. Bind, then Step until it returns false; Done tells whether it ended
// well. Resets (keeping nothing bound) before its next use.
class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, std::string_view sql);
  bool IsValid() const { return m_stmt != nullptr; }

  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, int value) { return Bind(index, static_cast<int64_t>(value)); }
  Statement& Bind(int index, double value);
  Statement& Bind(int index, std::u16string_view text);
  Statement& Bind(int index, std::string_view utf8);

  // Ends a use early (a read that took only the rows it needed), releasing its read lock.
  void Reset();
  // True while a row is there; false at the end or on an error (see Result).
  bool Step();
  // Runs the statement to its end; true when it finished well.
  bool Run();
  int Result() const { return m_result; }

  int64_t Int(int column) const;
  double Real(int column) const;
  std::u16string Text(int column) const;
  std::string Utf8(int column) const;
  bool IsNull(int column) const;

 private:
  void ResetIfUsed();
  std::unique_ptr<sqlite3_stmt, StatementFinalizer> m_stmt;
  int m_result = SQLITE_OK;
  bool m_used = false;
};

}  // namespace verbaro::progress
