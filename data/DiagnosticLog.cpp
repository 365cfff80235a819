#include "data/DiagnosticLog.h"

namespace verbaro {

bool DiagnosticLog::AttachFile(const std::string& path) {
  Detach();
  auto file =
      std::make_unique<std::ofstream>(path, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!file->is_open()) return false;
  m_file = std::move(file);
  m_stream = m_file.get();
  return true;
}

void DiagnosticLog::AttachMemory() {
  Detach();
  m_memory = std::make_unique<std::ostringstream>();
  m_stream = m_memory.get();
}

void DiagnosticLog::Detach() {
  if (m_stream) m_stream->flush();
  m_stream = nullptr;
  m_file.reset();
  m_memory.reset();
}

std::string DiagnosticLog::Text() const { return m_memory ? m_memory->str() : std::string(); }

void DiagnosticLog::Flush() {
  if (m_stream) m_stream->flush();
}

}  // namespace verbaro
