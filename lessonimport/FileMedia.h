#pragma once
// The recordings of a text source (a KVTML file, a CSV or TSV table): files that it names by a
// path relative to its own folder, by an absolute path or by a file:// URL. They are the
// learner's own files, so any place on this computer may be named; other URLs are refused.
// A relative name that is not found as written is tried percent-decoded and with Windows'
// backslashes as folder separators.
#include <filesystem>
#include <optional>
#include <string>

#include "lessonimport/ImportSource.h"

namespace verbaro::lessonimport {

class FileMedia : public SourceMedia {
 public:
  // `folder`: the folder of the source, against which relative names are resolved.
  explicit FileMedia(std::filesystem::path folder);

  std::optional<std::vector<uint8_t>> Read(const std::string& reference,
                                           std::string& error) const override;

  // The file that `reference` names, or nothing with `error` set when it names none here (a
  // web address, an empty name, a name with a zero byte).
  std::optional<std::filesystem::path> Locate(const std::string& reference,
                                              std::string& error) const;

 private:
  std::filesystem::path m_folder;
};

// "%C3%A9t%C3%A9" -> "été"; a '%' not followed by two hexadecimal digits stays as it is.
std::string PercentDecoded(const std::string& text);

}  // namespace verbaro::lessonimport
