#include "TempFolder.h"

#include <stdlib.h>

#include <stdexcept>

#include "Files.h"

namespace verbaro::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "verbaro-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
  m_path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

fs::path TempFolder::Write(const std::string& name, std::string_view bytes) const {
  return Write(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

fs::path TempFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  const fs::path file = m_path / name;
  WriteFileBytes(file, bytes);
  return file;
}

}  // namespace verbaro::test
