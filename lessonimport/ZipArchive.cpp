#include "lessonimport/ZipArchive.h"

#include <zip.h>

#include "lessonimport/SizeText.h"

namespace verbaro::lessonimport {
namespace {

struct FileClose {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

}  // namespace

ZipArchive::ZipArchive(zip* archive) : m_archive(archive) {}

ZipArchive::~ZipArchive() { zip_discard(m_archive); }

std::unique_ptr<ZipArchive> ZipArchive::Open(const std::filesystem::path& path,
                                             std::string& error) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (archive == nullptr) {
    if (code == ZIP_ER_NOENT || code == ZIP_ER_OPEN || code == ZIP_ER_READ)
      error = "не удалось прочитать файл «" + path.filename().string() + "»: " + ZipErrorText(code);
    else
      error = "файл «" + path.filename().string() + "» — не ZIP-архив или архив повреждён (" +
              ZipErrorText(code) + ")";
    return nullptr;
  }
  return std::unique_ptr<ZipArchive>(new ZipArchive(archive));
}

bool ZipArchive::Has(const std::string& member) const {
  const std::lock_guard lock(m_mutex);
  return zip_name_locate(m_archive, member.c_str(), 0) >= 0;
}

std::optional<std::vector<uint8_t>> ZipArchive::Read(const std::string& member, size_t limit,
                                                     std::string& error) const {
  const std::lock_guard lock(m_mutex);
  const zip_int64_t index = zip_name_locate(m_archive, member.c_str(), 0);
  if (index < 0) {
    error = "в архиве нет файла «" + member + "»";
    return std::nullopt;
  }
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(m_archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
    error = "файл «" + member + "» в архиве повреждён";
    return std::nullopt;
  }
  if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > limit) {
    error = "файл «" + member + "» в архиве больше " + SizeText(limit);
    return std::nullopt;
  }
  std::unique_ptr<zip_file_t, FileClose> file(
      zip_fopen_index(m_archive, static_cast<zip_uint64_t>(index), 0));
  if (!file) {
    error = "файл «" + member + "» в архиве не открывается: " + zip_strerror(m_archive);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  constexpr size_t kChunk = 64 * 1024;
  // Room for what the archive declares (checked against the limit above), so that an honest
  // member is read without copies; a dishonest one still stops at the limit.
  if ((stat.valid & ZIP_STAT_SIZE) != 0) bytes.reserve(static_cast<size_t>(stat.size) + kChunk);
  while (true) {
    const size_t used = bytes.size();
    bytes.resize(used + kChunk);
    const zip_int64_t got = zip_fread(file.get(), bytes.data() + used, kChunk);
    if (got < 0) {
      error = "файл «" + member + "» в архиве повреждён: " + zip_file_strerror(file.get());
      return std::nullopt;
    }
    bytes.resize(used + static_cast<size_t>(got));
    if (bytes.size() > limit) {
      error = "файл «" + member + "» в архиве больше " + SizeText(limit);
      return std::nullopt;
    }
    if (got == 0) break;
  }
  return bytes;
}

}  // namespace verbaro::lessonimport
