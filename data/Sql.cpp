#include "data/Sql.h"

namespace verbaro {

Statement::Statement(sqlite3* db, std::string_view sql, Use use) {
  sqlite3_stmt* raw = nullptr;
  m_result = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                use == Use::Kept ? SQLITE_PREPARE_PERSISTENT : 0, &raw, nullptr);
  m_stmt.reset(raw);
}

void Statement::ResetIfUsed() {
  if (!m_used || !m_stmt) return;
  sqlite3_reset(m_stmt.get());
  sqlite3_clear_bindings(m_stmt.get());
  m_used = false;
}

Statement& Statement::Bind(int index, int64_t value) {
  ResetIfUsed();
  if (m_stmt) sqlite3_bind_int64(m_stmt.get(), index, value);
  return *this;
}

Statement& Statement::Bind(int index, double value) {
  ResetIfUsed();
  if (m_stmt) sqlite3_bind_double(m_stmt.get(), index, value);
  return *this;
}

Statement& Statement::Bind(int index, std::u16string_view text) {
  ResetIfUsed();
  if (m_stmt) {
    sqlite3_bind_text16(m_stmt.get(), index, text.data(),
                        static_cast<int>(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
  }
  return *this;
}

Statement& Statement::Bind(int index, std::string_view utf8) {
  ResetIfUsed();
  if (m_stmt) {
    sqlite3_bind_text(m_stmt.get(), index, utf8.data(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
  }
  return *this;
}

void Statement::Reset() {
  m_used = true;
  ResetIfUsed();
}

bool Statement::Step() {
  if (!m_stmt) return false;
  m_used = true;
  m_result = sqlite3_step(m_stmt.get());
  return m_result == SQLITE_ROW;
}

bool Statement::Run() {
  while (Step()) {
  }
  const bool ok = m_result == SQLITE_DONE;
  // A finished statement releases its read lock at once, so that another process can write.
  if (m_stmt) sqlite3_reset(m_stmt.get());
  if (m_stmt) sqlite3_clear_bindings(m_stmt.get());
  m_used = false;
  return ok;
}

int Statement::ColumnCount() const { return m_stmt ? sqlite3_column_count(m_stmt.get()) : 0; }

int64_t Statement::Int(int column) const { return sqlite3_column_int64(m_stmt.get(), column); }

double Statement::Real(int column) const { return sqlite3_column_double(m_stmt.get(), column); }

std::u16string Statement::Text(int column) const {
  const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(m_stmt.get(), column));
  if (text == nullptr) return {};
  const int bytes = sqlite3_column_bytes16(m_stmt.get(), column);
  return std::u16string(text, static_cast<size_t>(bytes) / sizeof(char16_t));
}

std::string Statement::Utf8(int column) const {
  const auto* text = sqlite3_column_text(m_stmt.get(), column);
  if (text == nullptr) return {};
  const int bytes = sqlite3_column_bytes(m_stmt.get(), column);
  return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(bytes));
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(m_stmt.get(), column) == SQLITE_NULL;
}

}  // namespace verbaro
