#include "lessonimport/SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace verbaro::lessonimport {
namespace {

std::string Quoted(const std::filesystem::path& file) { return "«" + file.string() + "»"; }

std::string OpenFailure(const std::filesystem::path& file, int code) {
  switch (code) {
    case ENOENT:
    case ENOTDIR: return "нет файла " + Quoted(file);
    case EACCES:
    case EPERM: return "нет доступа к файлу " + Quoted(file);
    default: return "не могу открыть файл " + Quoted(file);
  }
}

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

std::string DescribeBytes(size_t bytes) {
  if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
    return std::to_string(bytes / (1024 * 1024)) + " МБ";
  if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes / 1024) + " КБ";
  return std::to_string(bytes) + " байт";
}

std::optional<std::string> ReadFileWithin(const std::filesystem::path& file, size_t limit,
                                          std::string& error) {
  // O_NONBLOCK: a FIFO named by a source must not hang the reader before it is refused.
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) {
    error = OpenFailure(file, errno);
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) {
    error = OpenFailure(file, errno);
    return std::nullopt;
  }
  if (S_ISDIR(info.st_mode)) {
    error = Quoted(file) + " — папка, а не файл";
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    error = Quoted(file) + " — не обычный файл";
    return std::nullopt;
  }
  if (static_cast<uint64_t>(info.st_size) > limit) {
    error = "файл " + Quoted(file) + " больше " + DescribeBytes(limit);
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(info.st_size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = "не могу прочитать файл " + Quoted(file);
      return std::nullopt;
    }
    if (got == 0) break;  // the file shrank while it was read: what is there is the file
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace verbaro::lessonimport
