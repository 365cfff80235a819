#include "data/DiagnosticLog.h"

namespace verbaro {

bool DiagnosticLog::AttachFile(const std::string& path) {
  Detach();
  auto file = std::make_unique<std::ofstream>(path, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!file->is_open()) return false;
  m_pFile = std::move(file);
  m_pStream = m_pFile.get();
  return true;
}

void DiagnosticLog::AttachMemory() {
  Detach();
  m_pMemory = std::make_unique<std::ostringstream>();
  m_pStream = m_pMemory.get();
}

void DiagnosticLog::Detach() {
  if (m_pStream) m_pStream->flush();
  m_pStream = nullptr;
  m_pFile.reset();
  m_pMemory.reset();
}

std::string DiagnosticLog::Text() const { return m_pMemory ? m_pMemory->str() : std::string(); }

void DiagnosticLog::Flush() {
  if (m_pStream) m_pStream->flush();
}

}  // namespace verbaro
