#pragma once
// The diagnostic log: empty (not attached) by default, so every write is skipped.
// The program attaches it to a file named by VERBARO_LOG; tests attach it to memory and read it
// back.
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

#include "data/Text.h"

namespace verbaro {

class DiagnosticLog {
 public:
  DiagnosticLog() = default;
  DiagnosticLog(const DiagnosticLog&) = delete;
  DiagnosticLog& operator=(const DiagnosticLog&) = delete;

  // Attaches to a UTF-8 text file (created or truncated). False when it cannot be opened.
  bool AttachFile(const std::string& path);
  // Attaches to an in-memory buffer; Text() returns what was written.
  void AttachMemory();
  void Detach();

  bool IsAttached() const { return m_stream != nullptr; }
  std::string Text() const;  // what the memory sink holds (empty for a file or nothing)

  // Writes the pieces in order, then an end of line. Pieces are UTF-16 texts, C strings of
  // UTF-16 literals, or integers written in decimal. Skipped while nothing is attached.
  template <typename... Pieces>
  void Line(const Pieces&... pieces) {
    if (!IsAttached()) return;
    (Put(pieces), ...);
    *m_stream << '\n';
    m_stream->flush();
  }
  // Same as Line without the end of line.
  template <typename... Pieces>
  void Write(const Pieces&... pieces) {
    if (!IsAttached()) return;
    (Put(pieces), ...);
  }
  void Flush();

 private:
  void Put(std::u16string_view text) { *m_stream << ToUtf8(text); }
  void Put(const char16_t* text) { *m_stream << ToUtf8(text); }
  void Put(const std::u16string& text) { *m_stream << ToUtf8(text); }
  template <typename Int>
  requires std::is_integral_v<Int>
  void Put(Int value) {
    if constexpr (std::is_same_v<Int, bool>) {
      *m_stream << (value ? 1 : 0);
    } else {
      *m_stream << +value;
    }
  }

  std::unique_ptr<std::ofstream> m_file;
  std::unique_ptr<std::ostringstream> m_memory;
  std::ostream* m_stream = nullptr;
};

}  // namespace verbaro
