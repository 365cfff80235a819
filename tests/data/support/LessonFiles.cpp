#include "LessonFiles.h"

#include "data/Text.h"

namespace verbaro::test {

namespace fs = std::filesystem;

int OpenDescriptorCount(const fs::path& file) {
  const fs::path target = fs::canonical(file);
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const fs::path linked = fs::read_symlink(entry.path(), error);
    if (!error && linked == target) ++count;
  }
  return count;
}

std::u16string PathText(const fs::path& file) { return FromUtf8(file.string()); }

}  // namespace verbaro::test
