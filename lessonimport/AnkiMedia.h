#pragma once
// The recordings of an Anki package: the package's list of media names, and each file read from
// the zip member that holds it.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "lessonimport/ImportSource.h"
#include "lessonimport/ZipArchive.h"

namespace verbaro::lessonimport {

struct AnkiMediaFile {
  std::string member;       // the zip member: "0", "1"...
  bool compressed = false;  // zstd-compressed, as the current format stores every media file
  uint64_t size = 0;        // as the list declares it; 0 when unknown
};
using AnkiMediaList = std::map<std::string, AnkiMediaFile>;  // by media name

// The `media` member as the current format writes it (zstd-compressed protobuf, members named
// by position) or as the older ones did (a JSON object {"0": "chat.mp3"}). Nothing, with
// `error` set (Russian), when it is damaged.
std::optional<AnkiMediaList> ParseAnkiMediaList(std::span<const uint8_t> bytes, std::string& error);

// A media name that must not be looked up: a path leaving the package or an absolute one. The
// reason (Russian), or empty when the name is acceptable.
std::string UnsafeMediaName(const std::string& name);

class AnkiMedia : public SourceMedia {
 public:
  AnkiMedia(std::shared_ptr<const ZipArchive> archive, AnkiMediaList list)
      : m_archive(std::move(archive)), m_list(std::move(list)) {}
  std::optional<std::vector<uint8_t>> Read(const std::string& reference,
                                           std::string& error) const override;

 private:
  std::shared_ptr<const ZipArchive> m_archive;
  AnkiMediaList m_list;
};

}  // namespace verbaro::lessonimport
