#include "lessonimport/ExportAnki.h"

#include <zip.h>

#include <cctype>
#include <fstream>
#include <memory>

#include "lessonimport/AnkiCollectionWriter.h"
#include "lessonimport/OutputPlace.h"
#include "lessonimport/Sha1.h"

namespace verbaro::lessonimport {
namespace {

std::string MediaMapJson(const std::vector<std::string>& members) {
  std::string json = "{";
  for (size_t i = 0; i < members.size(); ++i) {
    if (i) json += ",";
    // Recording names are made of letters, digits, '-', '_' and '.': nothing to escape.
    json += "\"" + std::to_string(i) + "\":\"" + members[i] + "\"";
  }
  return json + "}";
}

struct ZipDiscarder {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};

// Adds a member from a file, or from memory that stays valid until the archive is closed; libzip
// reads both only when it closes the archive.
bool AddMember(zip_t* archive, const std::string& name, zip_source_t* source, bool store) {
  if (!source) return false;
  const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    return false;
  }
  // MP3 does not get smaller by deflating it.
  return !store ||
         zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) == 0;
}

bool WriteFile(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// The package from the collection and the recordings, each recording put in `scratch` first so
// that no more than one is held in memory.
bool WriteZip(const std::filesystem::path& file, const std::filesystem::path& scratch,
              const std::vector<ExportEntry>& entries, const std::vector<std::string>& mediaNames,
              std::string& error) {
  int code = 0;
  std::unique_ptr<zip_t, ZipDiscarder> archive(
      zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
  if (!archive) {
    error = "не могу создать пакет " + file.string();
    return false;
  }
  const auto fromFile = [&](const std::filesystem::path& path) {
    return zip_source_file(archive.get(), path.c_str(), 0, -1);
  };
  if (!AddMember(archive.get(), "collection.anki2", fromFile(scratch / "collection.anki2"),
                 false)) {
    error = "не могу добавить коллекцию в пакет: " + std::string(zip_strerror(archive.get()));
    return false;
  }
  std::vector<std::string> members;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (mediaNames[i].empty()) continue;
    const std::optional<std::vector<uint8_t>> bytes = entries[i].ReadRecording(error);
    if (!bytes) return false;
    const std::filesystem::path member = scratch / std::to_string(members.size());
    if (!WriteFile(member, *bytes)) {
      error = "не могу записать звук во временную папку " + scratch.string();
      return false;
    }
    if (!AddMember(archive.get(), std::to_string(members.size()), fromFile(member), true)) {
      error = "не могу добавить звук в пакет: " + std::string(zip_strerror(archive.get()));
      return false;
    }
    members.push_back(mediaNames[i]);
  }
  const std::string map = MediaMapJson(members);
  if (!AddMember(archive.get(), "media",
                 zip_source_buffer(archive.get(), map.data(), map.size(), 0), false) ||
      zip_close(archive.get()) != 0) {
    error = "не могу записать пакет: " + std::string(zip_strerror(archive.get()));
    return false;
  }
  archive.release();  // zip_close freed it
  return true;
}

}  // namespace

std::string AnkiFieldText(std::string_view text) {
  std::string html;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&') html += "&amp;";
    else if (c == '<') html += "&lt;";
    else if (c == '>') html += "&gt;";
    else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    else if (c == '\n' || c == '\r') html += "<br>";
    else if (c == '\x1f') html += ' ';  // Anki's field separator cannot stand in a field
    else html += c;
  }
  return html;
}

int64_t AnkiChecksum(std::string_view plainText) {
  const auto digest = Sha1(plainText);
  return int64_t{digest[0]} << 24 | int64_t{digest[1]} << 16 | int64_t{digest[2]} << 8 | digest[3];
}

bool WriteAnkiPackage(const std::vector<ExportEntry>& entries, const std::filesystem::path& package,
                      const std::string& deckName, bool replace, int64_t nowMs, size_t& cards,
                      std::string& error) {
  std::vector<std::string> mediaNames;
  for (size_t i = 0; i < entries.size(); ++i)
    mediaNames.push_back(!entries[i].HasRecording()
                             ? std::string()
                             : deckName + "_" +
                                   RecordingFileName(i + 1, entries.size(), entries[i].word));
  for (std::string& name : mediaNames)
    for (char& c : name)
      if (!(std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80) &&
          c != '-' && c != '_' && c != '.')
        c = '_';

  // The collection and the recordings on their way into the package go to a private scratch
  // folder, removed at the end.
  OutputPlace scratch(std::filesystem::temp_directory_path() / "verbaro-export", true);
  OutputPlace place(package, false);
  if (!scratch.Create(error) || !place.Create(error)) return false;
  const std::filesystem::path collection = scratch.Temporary() / "collection.anki2";
  if (!WriteAnkiCollection(collection, entries, mediaNames, deckName, nowMs, cards, error))
    return false;
  if (!WriteZip(place.Temporary(), scratch.Temporary(), entries, mediaNames, error)) return false;
  return place.Commit(replace, error);
}

}  // namespace verbaro::lessonimport
