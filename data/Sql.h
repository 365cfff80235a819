#pragma once
// The one layer over SQLite statements in the core: a prepared statement that finalizes itself
// and resets itself before its next use, with typed binding and reading. The lesson reader, the
// lesson tool, the import's readers and the progress store all go through it.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace verbaro {

struct StatementFinalizer {
  void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};

// One prepared statement. Bind, then Step until it returns false; Result tells how it ended.
// Resets (keeping nothing bound) before its next use.
class Statement {
 public:
  // Kept: a statement the connection keeps for many uses (the store's cache of statements).
  enum class Use { Once, Kept };

  Statement() = default;
  Statement(sqlite3* db, std::string_view sql, Use use = Use::Once);
  // False when the statement could not be prepared (Result then holds the error).
  bool IsValid() const { return m_stmt != nullptr; }
  // The statement itself, for the few readings this layer does not type (blobs, column names).
  sqlite3_stmt* Handle() const { return m_stmt.get(); }

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

  int ColumnCount() const;
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

}  // namespace verbaro
