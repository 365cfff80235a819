#pragma once
// A zip archive read member by member, with a limit on each member: the declared sizes are
// checked first, and the data itself is read only up to the limit, since a damaged or hostile
// archive may declare a small member that inflates without end.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct zip;

namespace verbaro::lessonimport {

class ZipArchive {
 public:
  // Nothing, with `error` set (Russian), when the file cannot be opened or is not a zip archive.
  static std::unique_ptr<ZipArchive> Open(const std::filesystem::path& path, std::string& error);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool Has(const std::string& member) const;
  // The bytes of `member`, or nothing with `error` set (Russian): missing, damaged (the
  // checksum is verified), encrypted, or larger than `limit` bytes. Safe to call from several
  // threads at once.
  std::optional<std::vector<uint8_t>> Read(const std::string& member, size_t limit,
                                           std::string& error) const;

 private:
  explicit ZipArchive(zip* archive);
  zip* m_archive;
  mutable std::mutex m_mutex;  // libzip's archive handle is not safe for concurrent reads
};

}  // namespace verbaro::lessonimport
