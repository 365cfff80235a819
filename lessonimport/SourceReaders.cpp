#include "lessonimport/SourceReaders.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "lessonimport/AnkiPackage.h"
#include "lessonimport/DelimitedText.h"
#include "lessonimport/Kvtml.h"

namespace verbaro::lessonimport {
namespace {

enum class Format { Anki, Kvtml, Text };

std::string LowerExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// A file named otherwise is known by its first bytes: a zip is a package, XML with a kvtml
// element a vocabulary, anything else a table.
Format FormatOf(const std::filesystem::path& file) {
  const std::string extension = LowerExtension(file);
  if (extension == ".apkg" || extension == ".colpkg") return Format::Anki;
  if (extension == ".kvtml") return Format::Kvtml;
  if (extension == ".csv" || extension == ".tsv" || extension == ".txt") return Format::Text;
  std::ifstream in(file, std::ios::binary);
  std::array<char, 512> head{};
  in.read(head.data(), head.size());
  const std::string_view start(head.data(), static_cast<size_t>(in.gcount()));
  if (start.starts_with("PK\x03\x04")) return Format::Anki;
  if (start.find("<kvtml") != std::string_view::npos) return Format::Kvtml;
  return Format::Text;
}

}  // namespace

std::optional<Source> ReadSource(const std::filesystem::path& file, std::string& error) {
  std::error_code code;
  if (!std::filesystem::is_regular_file(file, code)) {
    error = std::filesystem::exists(file, code) ? "это не файл" : "файл не найден";
    return std::nullopt;
  }
  switch (FormatOf(file)) {
    case Format::Anki: return ReadAnkiPackage(file, error);
    case Format::Kvtml: return ReadKvtml(file, error);
    case Format::Text: break;
  }
  return ReadDelimitedText(file, error);
}

}  // namespace verbaro::lessonimport
