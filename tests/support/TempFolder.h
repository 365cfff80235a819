#pragma once
// A scratch folder of one test.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace verbaro::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  // Creates or replaces the file `name` (a path relative to the folder) with the bytes; returns
  // its path.
  std::filesystem::path Write(const std::string& name, std::string_view bytes) const;
  std::filesystem::path Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

 private:
  std::filesystem::path m_path;
};

}  // namespace verbaro::test
