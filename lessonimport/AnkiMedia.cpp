#include "lessonimport/AnkiMedia.h"

#include <sqlite3.h>

#include "data/Sql.h"
#include "lessonimport/ProtobufReader.h"
#include "lessonimport/SizeText.h"
#include "lessonimport/Zstd.h"

namespace verbaro::lessonimport {
namespace {

// A media list is a few bytes per file; this is far beyond any deck.
constexpr size_t kMaxMediaListBytes = 64 * 1024 * 1024;

const char* const kDamagedList = "список аудиофайлов пакета повреждён";

bool ParseProtobufList(std::span<const uint8_t> bytes, AnkiMediaList& list) {
  ProtobufReader entries(bytes);
  ProtobufField entry;
  uint64_t position = 0;
  while (entries.Next(entry)) {
    if (entry.number != 1 || !entry.isBytes) continue;
    std::string name;
    AnkiMediaFile file{std::to_string(position++), true, 0};
    ProtobufReader fields(entry.bytes);
    ProtobufField field;
    while (fields.Next(field)) {
      if (field.number == 1 && field.isBytes) name.assign(field.bytes.begin(), field.bytes.end());
      else if (field.number == 2 && !field.isBytes) file.size = field.value;
      else if (field.number == 255 && !field.isBytes) file.member = std::to_string(field.value);
    }
    if (fields.Damaged()) return false;
    if (!name.empty()) list.emplace(std::move(name), std::move(file));
  }
  return !entries.Damaged();
}

// The JSON object read by SQLite's own JSON functions: {"0": "chat.mp3", ...}.
bool ParseJsonList(std::span<const uint8_t> bytes, AnkiMediaList& list) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  bool ok = false;
  {  // the statement ends before its connection is closed
    Statement members(
        db,
        "SELECT key, value FROM json_each(?1) WHERE type = 'text' AND json_type(?1) = 'object'");
    members.Bind(1, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    while (members.Step()) {
      // Names are taken up to a NUL, as the file names they stand for end there.
      const std::string member = members.Utf8(0).c_str();
      const std::string name = members.Utf8(1).c_str();
      if (!name.empty()) list.emplace(name, AnkiMediaFile{member, false, 0});
    }
    ok = members.Result() == SQLITE_DONE;
  }
  sqlite3_close(db);
  return ok;
}

}  // namespace

std::optional<AnkiMediaList> ParseAnkiMediaList(std::span<const uint8_t> bytes,
                                                std::string& error) {
  std::vector<uint8_t> decompressed;
  if (IsZstdFrame(bytes)) {
    std::string why;
    auto data = DecompressZstd(bytes, kMaxMediaListBytes, why);
    if (!data) {
      error = std::string(kDamagedList) + ": " + why;
      return std::nullopt;
    }
    decompressed = std::move(*data);
    bytes = decompressed;
  }
  size_t first = 0;
  while (first < bytes.size() && (bytes[first] == ' ' || bytes[first] == '\n' ||
                                  bytes[first] == '\r' || bytes[first] == '\t'))
    ++first;
  AnkiMediaList list;
  const bool json = first < bytes.size() && bytes[first] == '{';
  if (bytes.size() > static_cast<size_t>(INT32_MAX) ||
      !(json ? ParseJsonList(bytes, list) : ParseProtobufList(bytes, list))) {
    error = kDamagedList;
    return std::nullopt;
  }
  return list;
}

std::string UnsafeMediaName(const std::string& name) {
  const bool absolute =
      name.starts_with('/') || name.starts_with('\\') ||
      (name.size() >= 2 && name[1] == ':' &&
       ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z')));
  if (absolute) return "абсолютный путь, а в пакете файлы лежат без путей";
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return "путь ведёт за пределы пакета";
    start = end + 1;
  }
  return {};
}

std::optional<std::vector<uint8_t>> AnkiMedia::Read(const std::string& reference,
                                                    std::string& error) const {
  const std::string named = "аудиофайл «" + reference + "»";
  if (const std::string unsafe = UnsafeMediaName(reference); !unsafe.empty()) {
    error = named + ": " + unsafe;
    return std::nullopt;
  }
  const auto file = m_list.find(reference);
  if (file == m_list.end()) {
    error = "аудиофайла «" + reference + "» нет в пакете";
    return std::nullopt;
  }
  if (file->second.size > kMaxMediaBytes) {
    error = named + " больше " + SizeText(kMaxMediaBytes);
    return std::nullopt;
  }
  std::string why;
  auto bytes = m_archive->Read(file->second.member, kMaxMediaBytes, why);
  if (bytes && file->second.compressed && IsZstdFrame(*bytes))
    bytes = DecompressZstd(*bytes, kMaxMediaBytes, why);
  if (!bytes) {
    error = named + ": " + why;
    return std::nullopt;
  }
  return bytes;
}

}  // namespace verbaro::lessonimport
