#pragma once
// Output written beside its place under a temporary name and moved there only when it is whole,
// so that an export that fails or is killed leaves no half-written file.
#include <filesystem>
#include <optional>
#include <string>

namespace verbaro::lessonimport {

class OutputPlace {
 public:
  // `folder`: the output is a folder, not a file.
  OutputPlace(std::filesystem::path target, bool folder);
  ~OutputPlace();  // removes the temporary output unless it was moved into place
  OutputPlace(const OutputPlace&) = delete;
  OutputPlace& operator=(const OutputPlace&) = delete;

  // Makes the temporary file or folder; false with `error` (Russian).
  bool Create(std::string& error);
  const std::filesystem::path& Temporary() const { return m_temporary; }
  // Moves the output into place, replacing what is there only when `replace`.
  bool Commit(bool replace, std::string& error);

 private:
  std::filesystem::path m_target;
  std::filesystem::path m_temporary;
  bool m_folder;
  bool m_committed = false;
};

// Says why `target` may not be written (it exists and `replace` is not given, or a folder stands
// where a file is to be); nothing when it may.
std::optional<std::string> RefusesTarget(const std::filesystem::path& target, bool folder,
                                         bool replace);

}  // namespace verbaro::lessonimport
