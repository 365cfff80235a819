#include "lessonimport/FileMedia.h"

#include <algorithm>
#include <utility>

#include "lessonimport/SourceFile.h"

namespace verbaro::lessonimport {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != prefix[i]) return false;
  }
  return true;
}

// "scheme:" at the start, as URLs begin; a Windows drive ("C:") is one letter and no scheme.
bool HasScheme(const std::string& text) {
  size_t i = 0;
  while (i < text.size() &&
         ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z') ||
          (i > 0 && ((text[i] >= '0' && text[i] <= '9') || text[i] == '+' || text[i] == '-' ||
                     text[i] == '.'))))
    ++i;
  return i >= 2 && i < text.size() && text[i] == ':';
}

bool HasPercentEscape(const std::string& text) {
  for (size_t i = 0; i + 2 < text.size(); ++i)
    if (text[i] == '%' && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) return true;
  return false;
}

}  // namespace

std::string PercentDecoded(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

FileMedia::FileMedia(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::optional<std::filesystem::path> FileMedia::Locate(const std::string& reference,
                                                       std::string& error) const {
  std::string name = reference;
  if (StartsWithNoCase(name, "file://")) {
    std::string rest = name.substr(7);
    // file:///path or file://localhost/path: this computer; another host is not a file here.
    if (StartsWithNoCase(rest, "localhost/")) rest = rest.substr(9);
    if (rest.empty() || rest[0] != '/') {
      error = "«" + reference + "» — файл на другом компьютере";
      return std::nullopt;
    }
    name = PercentDecoded(rest);
  } else if (HasScheme(name)) {
    error = "«" + reference + "» — адрес в сети, а не файл";
    return std::nullopt;
  }
  if (name.empty()) {
    error = "пустое имя файла";
    return std::nullopt;
  }
  if (name.find('\0') != std::string::npos) {
    error = "в имени файла «" + reference + "» нулевой байт";
    return std::nullopt;
  }
  const std::filesystem::path path(name);
  const std::filesystem::path file = path.is_absolute() ? path : m_folder / path;
  std::error_code ignored;
  if (path.is_absolute() || std::filesystem::exists(file, ignored)) return file;
  // The name as written comes first; else a relative URL may come percent-encoded
  // ("caf%C3%A9.ogg"), and a table made on Windows separates folders by backslashes.
  for (std::string other : {HasPercentEscape(name) ? PercentDecoded(name) : std::string(), name}) {
    std::replace(other.begin(), other.end(), '\\', '/');
    if (other.empty() || other == name) continue;
    const std::filesystem::path candidate = m_folder / std::filesystem::path(other);
    if (std::filesystem::exists(candidate, ignored)) return candidate;
  }
  return file;
}

std::optional<std::vector<uint8_t>> FileMedia::Read(const std::string& reference,
                                                    std::string& error) const {
  const std::optional<std::filesystem::path> file = Locate(reference, error);
  if (!file) return std::nullopt;
  std::optional<std::string> bytes = ReadFileWithin(*file, kMaxMediaBytes, error);
  if (!bytes) return std::nullopt;
  return std::vector<uint8_t>(bytes->begin(), bytes->end());
}

}  // namespace verbaro::lessonimport
