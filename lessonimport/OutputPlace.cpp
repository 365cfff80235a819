#include "lessonimport/OutputPlace.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace verbaro::lessonimport {
namespace {

// Renames only when the target does not exist.
bool MoveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

std::string SystemError() { return std::strerror(errno); }

}  // namespace

OutputPlace::OutputPlace(std::filesystem::path target, bool folder)
    : m_target(std::move(target)), m_folder(folder) {}

OutputPlace::~OutputPlace() {
  if (m_committed || m_temporary.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(m_temporary, ignored);
}

bool OutputPlace::Create(std::string& error) {
  const std::filesystem::path parent =
      m_target.parent_path().empty() ? "." : m_target.parent_path();
  std::string pattern = (parent / ("." + m_target.filename().string() + ".part-XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (m_folder) {
    if (!mkdtemp(name.data())) {
      error = "не могу создать папку в " + parent.string() + ": " + SystemError();
      return false;
    }
  } else {
    const int fd = mkstemp(name.data());
    if (fd < 0) {
      error = "не могу создать файл в " + parent.string() + ": " + SystemError();
      return false;
    }
    // mkstemp makes the file private; the export gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
  }
  m_temporary = name.data();
  return true;
}

bool OutputPlace::Commit(bool replace, std::string& error) {
  std::error_code code;
  if (!replace || !std::filesystem::exists(std::filesystem::symlink_status(m_target, code))) {
    if (!MoveWithoutReplacing(m_temporary, m_target)) {
      error = "не могу записать " + m_target.string() + ": " + SystemError();
      return false;
    }
  } else if (!m_folder) {
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
      error = "не могу заменить " + m_target.string() + ": " + SystemError();
      return false;
    }
  } else {
    // A folder replaces a folder in two steps: the old one is moved aside, then removed.
    OutputPlace old(m_target, true);
    if (!old.Create(error)) return false;
    std::filesystem::remove(old.m_temporary, code);
    if (std::rename(m_target.c_str(), old.m_temporary.c_str()) != 0) {
      error = "не могу заменить папку " + m_target.string() + ": " + SystemError();
      return false;
    }
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
      error = "не могу заменить папку " + m_target.string() + ": " + SystemError();
      // The old folder goes back; should that fail too, it stays aside rather than being lost.
      if (std::rename(old.m_temporary.c_str(), m_target.c_str()) != 0) old.m_committed = true;
      return false;
    }
  }
  m_committed = true;
  return true;
}

std::optional<std::string> RefusesTarget(const std::filesystem::path& target, bool folder,
                                         bool replace) {
  std::error_code code;
  const auto status = std::filesystem::symlink_status(target, code);
  if (!std::filesystem::exists(status)) return std::nullopt;
  if (!replace)
    return "уже существует: " + target.string() + "\nЧтобы заменить, добавьте --replace.";
  if (folder != std::filesystem::is_directory(status))
    return (folder ? "на месте папки файл: " : "на месте файла папка: ") + target.string();
  return std::nullopt;
}

}  // namespace verbaro::lessonimport
